#pragma once
// The canvas of one printed page: a QPainter on a PDF page in memory, drawn in printer dots from the
// printable area's top-left corner.
#include "printer/HqCanvas.h"

#include <QBuffer>
#include <QByteArray>
#include <QFont>
#include <QPainter>
#include <QPdfWriter>

#include <memory>

struct PdfPageSetup {
    double width = 0, length = 0;    // paper, points
    double originX = 0, originY = 0; // printable area's top-left, points from the paper's top-left
    int resolutionX = 300, resolutionY = 300;
    QString title;
};

// The drawing state both page canvases keep (font, colours, pen), starting as a slip starts: the
// design's Mincho, black on white.
class CanvasState : public HqCanvas {
public:
    CanvasState();

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
    TColor PenColor() const override { return penColor_; }
    void SetPenColor(TColor color) override { penColor_ = color; }

protected:
    QFont CurrentFont() const;

    QString fontName_;
    int fontSize_ = 10;
    TColor fontColor_ = clBlack;
    TFontStyles fontStyle_ = 0;
    TColor brushColor_ = clWhite;
    TColor penColor_ = clBlack;
};

class PdfCanvas : public CanvasState {
public:
    PdfCanvas();
    ~PdfCanvas() override;

    bool Printing() const { return painter_ != nullptr; }
    void Begin(const PdfPageSetup& setup);
    QByteArray Finish(); // the finished PDF
    void Drop();

    void TextOut(int x, int y, const std::string& text) override;
    void Line(int x0, int y0, int x1, int y1) override;

private:
    QByteArray pdf_;
    std::unique_ptr<QBuffer> buffer_;
    std::unique_ptr<QPdfWriter> writer_;
    std::unique_ptr<QPainter> painter_;
    double yScale_ = 1; // PDF units per vertical printer dot
};

// Paints one text cell as a printed page shows it: the cell (the text's advance by the font's ascent
// plus descent) filled with `fill`, the text on it in `ink`, its top-left corner at `topLeft`. Byte
// 0x5C of the CP932 text shows as the yen sign, as in Japanese faces.
void PaintTextCell(QPainter& painter, QPaintDevice* device, const QFont& font, QPointF topLeft,
                   const std::string& cp932, const QColor& fill, const QColor& ink);

// The canvases' font: the design's face name, a size in points (at least 1) and a style set.
QFont CanvasFont(const QString& name, int points, TFontStyles style);

QColor CanvasColor(TColor color);

// Paints a line one dot wide through the dots `from` and `to`, as a printed page shows it. The painter
// counts horizontal dots both ways; `yScale` is horizontal dots per vertical dot.
void PaintLine(QPainter& painter, QPoint from, QPoint to, double yScale, const QColor& pen);

// Maps the design's font names to faces installed here; idempotent.
void InstallFontSubstitutes();
