// slip-layout OUTPUT.png: a full sample slip as the printer puts it on the form, drawn over the
// outlines of its boxes, at 160 dots per inch (one layout unit per pixel). The texts come from the
// program's own layout routine and are painted the way a printed page paints them.
#include "platform/Cp932Codec.h"
#include "platform/qt/QtText.h"
#include "print/SlipCanvas.h"
#include "print/SlipLayout.h"
#include "printer/qt/PdfCanvas.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdio>

namespace {

constexpr int kDpi = 160;
constexpr int kWidth = 10 * kDpi; // the continuous 4-inch form, 10 inches wide
constexpr int kHeight = 4 * kDpi;

QColor ToQColor(TColor c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

// A canvas over an image, painting each text cell as the printed page does.
class ImageCanvas : public HqCanvas {
public:
    explicit ImageCanvas(QImage& image) : image_(image), painter_(&image) {
        painter_.setRenderHint(QPainter::TextAntialiasing);
    }
    QFont Font() const {
        QFont f(FromCp932(name_));
        f.setPointSize(size_);
        return f;
    }
    std::string FontName() const override { return name_; }
    void SetFontName(const std::string& name) override { name_ = name; }
    int FontSize() const override { return size_; }
    void SetFontSize(int points) override { size_ = points; }
    TColor FontColor() const override { return ink_; }
    void SetFontColor(TColor color) override { ink_ = color; }
    TFontStyles FontStyle() const override { return 0; }
    void SetFontStyle(TFontStyles) override {}
    TColor BrushColor() const override { return fill_; }
    void SetBrushColor(TColor color) override { fill_ = color; }
    void TextOut(int x, int y, const std::string& text) override {
        PaintTextCell(painter_, &image_, Font(), QPointF(x, y), text, ToQColor(fill_), ToQColor(ink_));
    }

private:
    QImage& image_;
    QPainter painter_;
    std::string name_;
    int size_ = 10;
    TColor ink_ = clBlack, fill_ = clWhite;
};

SlipFields SampleSlip() {
    auto sj = [](const char* utf8) { return cp932::FromUtf8(utf8); };
    SlipFields f;
    f.dpix = f.dpiy = std::to_string(kDpi);
    f.zip = "123-4567";
    f.add1 = sj("東京都千代田区千代田１－１");
    f.add2 = sj("丸の内ビル３階");
    f.add3 = sj("総務部御中");
    f.custo1 = sj("山田太郎");
    f.tel = "090-1234-5678";
    f.g1 = sj("衣料品");
    f.g2 = sj("雑貨");
    f.g3 = sj("書籍");
    f.date = "2026/12/07";
    f.kosuu = "120";
    f.priceSub = "105000";
    f.taxSub = "5000";
    f.p2 = true;
    f.myZip = "530-0001";
    f.myAdd1 = sj("大阪府大阪市北区梅田１－１");
    f.myAdd2 = sj("梅田ビル");
    f.my = sj("タヴォ商店");
    f.myTel = "06-1234-5678";
    return f;
}

// The box a text stands in: one character's pitch for the rows of single-character boxes, else the
// text's own extent.
QRectF Box(const std::vector<SlipDraw>& draws, std::size_t i, QPaintDevice* device) {
    const SlipDraw& d = draws[i];
    QFont font(FromCp932(d.font));
    font.setPointSize(d.size);
    QFontMetricsF m(QFont(font, device), device);
    double width = m.horizontalAdvance(FromCp932(d.text));
    if (d.text.size() == 1) {
        double pitch = 0;
        for (const SlipDraw& other : draws) {
            if (&other == &d || other.y != d.y || other.text.size() > 1) continue;
            double gap = std::abs(other.x - d.x);
            if (gap > 0 && (pitch == 0 || gap < pitch)) pitch = gap;
        }
        if (pitch > 0) width = pitch - 2;
    }
    return QRectF(d.x, d.y, width, m.ascent() + m.descent());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: slip-layout OUTPUT.png\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    InstallFontSubstitutes();
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    const int dotsPerMeter = static_cast<int>(std::lround(kDpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);

    const std::vector<SlipDraw> draws = LayoutSlip(SampleSlip());
    {
        QPainter outline(&image);
        outline.setPen(QPen(QColor(0, 120, 215), 1));
        for (std::size_t i = 0; i < draws.size(); ++i)
            outline.drawRect(Box(draws, i, &image).adjusted(-2, -2, 2, 2));
        outline.setPen(QPen(Qt::darkGray, 2));
        outline.drawRect(QRect(0, 0, kWidth - 1, kHeight - 1));
    }
    {
        ImageCanvas canvas(image);
        DrawSlip(canvas, draws);
    }
    if (!image.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "slip-layout: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
