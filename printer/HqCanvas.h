#pragma once
// The drawing surface of one printed page, as the slip layout sees it. Positions are device dots from
// the printable area's top-left corner; texts are CP932.
#include <cstdint>
#include <string>

using TColor = std::uint32_t; // 0x00BBGGRR, as the design's colour values
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;

// Font style set: any combination of these bits.
using TFontStyles = std::uint8_t;
constexpr TFontStyles fsBold = 1;
constexpr TFontStyles fsItalic = 2;
constexpr TFontStyles fsUnderline = 4;
constexpr TFontStyles fsStrikeOut = 8;

class HqCanvas {
public:
    virtual ~HqCanvas() = default;

    virtual std::string FontName() const = 0;
    virtual void SetFontName(const std::string& name) = 0;
    virtual int FontSize() const = 0; // points
    virtual void SetFontSize(int points) = 0;
    virtual TColor FontColor() const = 0;
    virtual void SetFontColor(TColor color) = 0;
    virtual TFontStyles FontStyle() const = 0;
    virtual void SetFontStyle(TFontStyles style) = 0;
    virtual TColor BrushColor() const = 0;
    virtual void SetBrushColor(TColor color) = 0;

    // Draws `text` with its cell's top-left corner at (x, y), the cell filled with the brush colour.
    virtual void TextOut(int x, int y, const std::string& text) = 0;

    virtual TColor PenColor() const = 0;
    virtual void SetPenColor(TColor color) = 0;
    // A line one dot wide in the pen colour through the dots (x0, y0) and (x1, y1), both included.
    virtual void Line(int x0, int y0, int x1, int y1) = 0;
};
