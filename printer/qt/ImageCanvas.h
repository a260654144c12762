#pragma once
// A canvas over an image of the whole paper, one pixel per device dot, painted the way PdfCanvas
// paints a printed page: same page setup, same text cells, same lines. What the preview shows and
// what the printer receives come from one renderer.
#include "printer/HqCanvas.h"
#include "printer/qt/PdfCanvas.h"

#include <QImage>
#include <QPainter>

class ImageCanvas : public CanvasState {
public:
    // The image is white and covers the paper of `setup`; drawing starts at its printable corner.
    explicit ImageCanvas(const PdfPageSetup& setup);
    ~ImageCanvas() override;

    // Ends the drawing and hands over the image; the canvas is spent afterwards.
    QImage Finish();

    void TextOut(int x, int y, const std::string& text) override;
    void Line(int x0, int y0, int x1, int y1) override;

private:
    QImage image_;
    QPainter painter_;
    double yScale_ = 1;
};

// The whole paper of `setup` in device dots, each way rounded to the nearest dot.
QSize PageSizeInDots(const PdfPageSetup& setup);
