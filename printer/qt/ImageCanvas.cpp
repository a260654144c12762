#include "printer/qt/ImageCanvas.h"

#include "platform/qt/QtText.h"
#include "printer/HqPrinterErrors.h"

#include <cmath>

QSize PageSizeInDots(const PdfPageSetup& setup) {
    return QSize(static_cast<int>(std::lround(setup.width * setup.resolutionX / 72.0)),
                 static_cast<int>(std::lround(setup.length * setup.resolutionY / 72.0)));
}

ImageCanvas::ImageCanvas(const PdfPageSetup& setup) : image_(PageSizeInDots(setup), QImage::Format_RGB32) {
    InstallFontSubstitutes();
    if (image_.isNull()) throw EHqPrinter("Cannot make an image of the page");
    // The painter counts horizontal dots both ways, as on the PDF page; the image's rows are
    // vertical dots, so the painter is squeezed when the resolution is not square.
    const int dotsPerMetre = static_cast<int>(std::lround(setup.resolutionX / 0.0254));
    image_.setDotsPerMeterX(dotsPerMetre);
    image_.setDotsPerMeterY(dotsPerMetre);
    image_.fill(Qt::white);
    yScale_ = static_cast<double>(setup.resolutionX) / setup.resolutionY;
    painter_.begin(&image_);
    painter_.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter_.scale(1.0, 1.0 / yScale_);
    painter_.translate(setup.originX * setup.resolutionX / 72.0, setup.originY * setup.resolutionX / 72.0);
}

ImageCanvas::~ImageCanvas() {
    if (painter_.isActive()) painter_.end();
}

QImage ImageCanvas::Finish() {
    if (painter_.isActive()) painter_.end();
    return std::move(image_);
}

void ImageCanvas::TextOut(int x, int y, const std::string& text) {
    if (!painter_.isActive()) throw EHqPrinter("Printer is not currently printing");
    QFont font = CurrentFont();
    // Unhinted outlines sit where the printer's rasteriser puts them; hinting moves them by dots.
    font.setHintingPreference(QFont::PreferNoHinting);
    PaintTextCell(painter_, &image_, font, QPointF(x, y * yScale_), text, CanvasColor(brushColor_),
                  CanvasColor(fontColor_));
}

void ImageCanvas::Line(int x0, int y0, int x1, int y1) {
    if (!painter_.isActive()) throw EHqPrinter("Printer is not currently printing");
    PaintLine(painter_, QPoint(x0, y0), QPoint(x1, y1), yScale_, CanvasColor(penColor_));
}
