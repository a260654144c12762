#pragma once
// Where the numeric edit draws its marks, its text and its caret, from measured text widths alone.
#include "widgets/KyNumEditTypes.h"

#include <functional>
#include <string_view>

struct KyRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const KyRect&) const = default;
};

struct KyPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const KyPoint&) const = default;
};

// Pixel width of one line of CP932 text in the control's font.
using KyTextMeasure = std::function<int(std::string_view)>;

struct KyNumMetrics {
    KyTextMeasure Measure; // empty: nothing has a width, and every text fits
    int ClientWidth = 117; // a 121-pixel control less its sunken border
    int ClientHeight = 16;
    int TextHeight = 13; // height of "M"
};

// A view over one state of the control; cheap to make, holds references only.
class KyNumLayout {
public:
    KyNumLayout(const KyNumEditProps& props, std::string_view value, const KyNumMetrics& metrics)
        : props_(props), value_(value), metrics_(metrics) {}

    // 0 for an empty text, else the measured width plus 1.
    int TextWidth(std::string_view text) const;
    int TemplateWidth() const;
    int DisplayWidth(std::string_view value) const; // of FormatWithMarks(value)
    int CaretTextWidth() const;
    int AvailableWidth() const;
    bool FitsWidth(std::string_view value) const;

    int LeftMarkWidth() const;
    int RightMarkWidth() const;

    KyRect LeftMarkRect() const;
    KyRect TextBoxRect() const;
    KyRect TextRect() const;
    KyRect RightMarkRect() const;
    KyPoint CaretPosition() const;

private:
    int Top() const;
    KyRect Span(int left, int width) const;
    int GroupHalf() const;
    int MiddleOffset() const;

    const KyNumEditProps& props_;
    std::string_view value_;
    const KyNumMetrics& metrics_;
};
