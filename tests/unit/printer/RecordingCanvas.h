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

class RecordingCanvas : public HqCanvas {
public:
    std::vector<RecordedText> texts;

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

private:
    std::string fontName_;
    int fontSize_ = 10;
    TColor fontColor_ = clBlack;
    TFontStyles fontStyle_ = 0;
    TColor brushColor_ = clWhite;
};
