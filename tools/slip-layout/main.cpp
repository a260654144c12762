// slip-layout OUTPUT.png: a full sample slip as the printer puts it on the form, drawn over the
// outlines of its boxes, at 160 dots per inch (one layout unit per pixel). It is the preview's own
// picture: the program's layout routine replayed onto the image canvas.
#include "platform/Cp932Codec.h"
#include "print/SlipLayout.h"
#include "print/qt/SlipImage.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

namespace {

constexpr int kDpi = 160;

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
    f.taxSub = "9545";
    f.p2 = true;
    f.myZip = "530-0001";
    f.myAdd1 = sj("大阪府大阪市北区梅田１－１");
    f.myAdd2 = sj("梅田ビル");
    f.my = sj("タヴォ商店");
    f.myTel = "06-1234-5678";
    return f;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: slip-layout OUTPUT.png\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    PdfPageSetup page; // the continuous 4-inch form, 10 inches wide
    page.width = 720;
    page.length = 288;
    page.resolutionX = page.resolutionY = kDpi;
    const SlipFields slip = SampleSlip();
    QImage image = RenderSlipImage(page, PlacementOf(slip), LayoutSlip(slip), true);
    {
        QPainter edge(&image); // the paper's edge, for a page without one
        edge.setPen(QPen(Qt::darkGray, 2));
        edge.drawRect(image.rect().adjusted(0, 0, -1, -1));
    }
    if (!image.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "slip-layout: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
