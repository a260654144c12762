// slip-layout OUTPUT.png: a full sample slip as the printer puts it on the form, drawn over the
// outlines of its boxes, at 160 dots per inch (one layout unit per pixel). It is the preview's own
// picture: the program's layout routine replayed onto the image canvas.
#include "print/SlipLayout.h"
#include "print/qt/SlipImage.h"
#include "slip/SampleSlip.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

namespace {

constexpr int kDpi = 160;

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
    LayoutCaptions captions;
    captions.dpix = captions.dpiy = std::to_string(kDpi);
    QImage image =
        RenderSlipImage(page, PlacementOf(captions), LayoutSlip(captions, slip::SampleSlip()), true);
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
