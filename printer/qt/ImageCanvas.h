#pragma once
// A canvas over an image of the whole paper, one pixel per device dot, painted the way PdfCanvas
// paints a printed page: same page setup, same text cells, same lines. What the preview shows and
// what the printer receives come from one renderer.
#include "printer/HqCanvas.h"
#include "printer/qt/PdfCanvas.h"

#include <QImage>
#include <QPainter>

class ImageCanvas : public HqCanvas {
public:
    // The image is white and covers the paper of `setup`; drawing starts at its printable corner.
    explicit ImageCanvas(const PdfPageSetup& setup);
    ~ImageCanvas() override;

    // Ends the drawing and hands over the image; the canvas is spent afterwards.
    QImage Finish();

    std::string FontName() const override;
    void SetFontName(const std::string& name) override;
    int FontSize() const override { return fontSize_; }
    void SetFontSize(int points) override { fontSize_ = points; }
    TColor FontColor() const override { return fontColor_; }
    void SetFontColor(TColor color) override { fontColor_ = color; }
    TFontStyles FontStyle() const override { return fontStyle_; }
    void SetFontStyle(TFontStyles style) override { fontStyle_ = style; }
    TColor BrushColor() const override { return brushColor_; }
    void SetBrushColor(TColor color) override { brushColor_ = color; }
    void TextOut(int x, int y, const std::string& text) override;
    TColor PenColor() const override { return penColor_; }
    void SetPenColor(TColor color) override { penColor_ = color; }
    void Line(int x0, int y0, int x1, int y1) override;

private:
    QString fontName_;
    int fontSize_ = 10;
    TColor fontColor_ = clBlack;
    TFontStyles fontStyle_ = 0;
    TColor brushColor_ = clWhite;
    TColor penColor_ = clBlack;

    QImage image_;
    QPainter painter_;
    double yScale_ = 1;
};

// The whole paper of `setup` in device dots, each way rounded to the nearest dot.
QSize PageSizeInDots(const PdfPageSetup& setup);
