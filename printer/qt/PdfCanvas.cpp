#include "printer/qt/PdfCanvas.h"

#include "platform/qt/QtText.h"
#include "printer/DesignFonts.h"
#include "printer/HqPrinterErrors.h"
#include "printer/PdfCompaction.h"

#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPainterPath>
#include <QPainterPathStroker>

namespace {

[[noreturn]] void NotPrinting() {
    throw EHqPrinter("Printer is not currently printing");
}

} // namespace

void InstallFontSubstitutes() {
    static bool done = false;
    if (done) return;
    done = true;
    for (const design_font::Substitute& s : design_font::kSubstitutes) {
        QStringList faces;
        for (const char* face : s.faces)
            faces << QString::fromUtf8(face);
        QFont::insertSubstitutions(QString::fromUtf8(s.design), faces);
    }
}

CanvasState::CanvasState() : fontName_(QString::fromUtf8(design_font::kPMincho)) {}

std::string CanvasState::FontName() const {
    return ToCp932(fontName_);
}

void CanvasState::SetFontName(const std::string& name) {
    fontName_ = FromCp932(name);
}

QFont CanvasState::CurrentFont() const {
    return CanvasFont(fontName_, fontSize_, fontStyle_);
}

PdfCanvas::PdfCanvas() = default;

PdfCanvas::~PdfCanvas() {
    Drop();
}

void PdfCanvas::Begin(const PdfPageSetup& setup) {
    InstallFontSubstitutes();
    Drop();
    pdf_.clear();
    buffer_ = std::make_unique<QBuffer>(&pdf_);
    buffer_->open(QIODevice::WriteOnly);
    writer_ = std::make_unique<QPdfWriter>(buffer_.get());
    writer_->setTitle(setup.title);
    writer_->setCreator("tavo_Zaridi2");
    QPageLayout layout(
        QPageSize(QSizeF(setup.width, setup.length), QPageSize::Point, QString(), QPageSize::ExactMatch),
        QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    layout.setMode(QPageLayout::FullPageMode);
    writer_->setPageLayout(layout);
    // One PDF unit is one horizontal printer dot; vertical dots may be coarser (120 x 60 dpi).
    writer_->setResolution(setup.resolutionX);
    yScale_ = static_cast<double>(setup.resolutionX) / setup.resolutionY;
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(writer_.get())) {
        Drop();
        throw EHqPrinter("THqPrinter.BeginDoc: Cannot start the page");
    }
    painter_->translate(setup.originX * setup.resolutionX / 72.0, setup.originY * setup.resolutionX / 72.0);
}

QByteArray PdfCanvas::Finish() {
    if (!painter_) NotPrinting();
    painter_->end();
    painter_.reset();
    writer_.reset();
    buffer_.reset();
    // What the page does not draw stays behind: fonts' naming tables; character maps compressed.
    const std::string compact =
        CompactPdf(std::string_view(pdf_.constData(), static_cast<std::size_t>(pdf_.size())));
    pdf_.clear();
    return QByteArray(compact.data(), static_cast<qsizetype>(compact.size()));
}

void PdfCanvas::Drop() {
    if (painter_ && painter_->isActive()) painter_->end();
    painter_.reset();
    writer_.reset();
    buffer_.reset();
    pdf_.clear();
}

QColor CanvasColor(TColor c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

QFont CanvasFont(const QString& name, int points, TFontStyles style) {
    QFont font(name);
    font.setPointSize(points > 0 ? points : 1);
    font.setBold(style & fsBold);
    font.setItalic(style & fsItalic);
    font.setUnderline(style & fsUnderline);
    font.setStrikeOut(style & fsStrikeOut);
    return font;
}

void PaintLine(QPainter& painter, QPoint from, QPoint to, double yScale, const QColor& pen) {
    // Through the dots' centres with square ends, so both end dots are covered whole. Filled as an
    // outline rather than stroked: the PDF engine draws a pen of one unit as a hairline.
    auto centre = [yScale](QPoint p) { return QPointF(p.x() + 0.5, (p.y() + 0.5) * yScale); };
    QPainterPath line(centre(from));
    line.lineTo(centre(to));
    QPainterPathStroker outline;
    outline.setWidth(1.0);
    outline.setCapStyle(Qt::SquareCap);
    painter.fillPath(outline.createStroke(line), pen);
}

void PaintTextCell(QPainter& painter, QPaintDevice* device, const QFont& font, QPointF topLeft,
                   const std::string& cp932, const QColor& fill, const QColor& ink) {
    QString s = FromCp932(cp932);
    // Byte 0x5C is where Japanese faces keep the yen sign.
    s.replace(QChar(0x5C), QChar(0xA5));
    QFont deviceFont(font, device);
    QFontMetricsF metrics(deviceFont, device);
    QRectF cell(topLeft, QSizeF(metrics.horizontalAdvance(s), metrics.ascent() + metrics.descent()));
    painter.fillRect(cell, fill);
    painter.setFont(deviceFont);
    painter.setPen(ink);
    painter.drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), s);
}

void PdfCanvas::TextOut(int x, int y, const std::string& text) {
    if (!painter_) NotPrinting();
    PaintTextCell(*painter_, writer_.get(), CurrentFont(), QPointF(x, y * yScale_), text,
                  CanvasColor(brushColor_), CanvasColor(fontColor_));
}

void PdfCanvas::Line(int x0, int y0, int x1, int y1) {
    if (!painter_) NotPrinting();
    PaintLine(*painter_, QPoint(x0, y0), QPoint(x1, y1), yScale_, CanvasColor(penColor_));
}
