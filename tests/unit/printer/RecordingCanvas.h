#pragma once
// A canvas that remembers every text drawn with the drawing state in force, for tests of what is drawn.
#include "printer/HqCanvas.h"

#include <string>
#include <vector>

struct RecordedText {
    int x = 0;
    int y = 0;
    std::string text;
    std::string fontName;
    int fontSize = 0;
    TColor fontColor = 0;
    TFontStyles fontStyle = 0;
    TColor brushColor = 0;
};

struct RecordedLine {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    TColor penColor = 0;
};

class RecordingCanvas : public HqCanvas {
public:
    std::vector<RecordedText> texts;
    std::vector<RecordedLine> lines;

    std::string FontName() const override { return fontName_; }
    void SetFontName(const std::string& name) override { fontName_ = name; }
    int FontSize() const override { return fontSize_; }
    void SetFontSize(int points) override { fontSize_ = points; }
    TColor FontColor() const override { return fontColor_; }
    void SetFontColor(TColor color) override { fontColor_ = color; }
    TFontStyles FontStyle() const override { return fontStyle_; }
    void SetFontStyle(TFontStyles style) override { fontStyle_ = style; }
    TColor BrushColor() const override { return brushColor_; }
    void SetBrushColor(TColor color) override { brushColor_ = color; }
    void TextOut(int x, int y, const std::string& text) override {
        texts.push_back({x, y, text, fontName_, fontSize_, fontColor_, fontStyle_, brushColor_});
    }
    TColor PenColor() const override { return penColor_; }
    void SetPenColor(TColor color) override { penColor_ = color; }
    void Line(int x0, int y0, int x1, int y1) override { lines.push_back({x0, y0, x1, y1, penColor_}); }

private:
    std::string fontName_;
    int fontSize_ = 10;
    TColor fontColor_ = clBlack;
    TFontStyles fontStyle_ = 0;
    TColor brushColor_ = clWhite;
    TColor penColor_ = clBlack;
};
