#pragma once
// Property types and the non-pixel properties of the numeric edit, shared by its model, its layout
// and the widget.
#include "widgets/KyNumText.h"

#include <cstdint>
#include <initializer_list>
#include <string>

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TVertAlignment { taTopJustify, taBottomJustify, taVCenter };
enum class TBorderStyle { bsNone, bsSingle };
enum class TImeMode {
    imDisable,
    imClose,
    imOpen,
    imDontCare,
    imSAlpha,
    imAlpha,
    imHira,
    imSKata,
    imKata,
    imChinese,
    imSHanguel,
    imHanguel
};

enum class TKyNumEditOption : std::uint8_t {
    eoMinusOnly,
    eoArrowUp,
    eoArrowDown,
    eoAutoWidthSize,
    eoORInputStop
};

// A set of options, one bit per element in declaration order.
class TKyNumEditOptions {
public:
    constexpr TKyNumEditOptions() = default;
    constexpr TKyNumEditOptions(std::initializer_list<TKyNumEditOption> items) {
        for (TKyNumEditOption o : items)
            bits_ |= Bit(o);
    }
    constexpr bool Has(TKyNumEditOption o) const { return (bits_ & Bit(o)) != 0; }
    constexpr void Include(TKyNumEditOption o) { bits_ |= Bit(o); }
    constexpr bool operator==(const TKyNumEditOptions&) const = default;

private:
    static constexpr std::uint8_t Bit(TKyNumEditOption o) {
        return static_cast<std::uint8_t>(1u << static_cast<unsigned>(o));
    }
    std::uint8_t bits_ = 0;
};

// Everything the model needs to know that is not a colour or a font. Pixel margins are here because
// the layout is computed without a screen.
struct KyNumEditProps {
    TAlignment Alignment = TAlignment::taRightJustify;
    bool ArrowFocusMove = false;
    bool AutoSelect = true;
    bool AutoSize = true;
    TBorderStyle BorderStyle = TBorderStyle::bsSingle;
    int BottomMargin = 2;
    bool Comma = true;
    bool Ctl3D = true;
    bool DecimalFixed = false;
    int DecimalLength = 3;
    bool EnterFocusMove = false;
    bool ErrorBeep = true;
    bool HideSelection = true;
    bool ImageCopy = false;
    TImeMode ImeMode = TImeMode::imDontCare;
    bool IntegerFixed = false;
    int IntegerLength = 9;
    int LeftMargin = 2;
    std::string LeftMark;
    bool Minus = true;
    TKyNumEditOptions Options{TKyNumEditOption::eoArrowUp, TKyNumEditOption::eoArrowDown};
    bool ReadOnly = false;
    int RightMargin = 2;
    std::string RightMark;
    int TopMargin = 2;
    TVertAlignment VertAlignment = TVertAlignment::taVCenter;
    bool ZeroEnabled = false;
    bool TabStop = true;

    KyNumTextRules TextRules() const { return {IntegerLength, DecimalLength, Minus, ZeroEnabled}; }
};
