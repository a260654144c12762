#include "widgets/KyNumLayout.h"

#include "widgets/KyNumFormat.h"

int KyNumLayout::TextWidth(std::string_view text) const {
    if (text.empty() || !metrics_.Measure) return 0;
    return metrics_.Measure(text) + 1;
}

int KyNumLayout::TemplateWidth() const {
    return TextWidth(TemplateText(value_, props_));
}

int KyNumLayout::DisplayWidth(std::string_view value) const {
    return TextWidth(FormatWithMarks(value, props_));
}

int KyNumLayout::CaretTextWidth() const {
    return TextWidth(CaretText(value_, props_));
}

int KyNumLayout::AvailableWidth() const {
    int border = (props_.BorderStyle == TBorderStyle::bsSingle && props_.Ctl3D) ? 2 : 1;
    return metrics_.ClientWidth - props_.LeftMargin - props_.RightMargin - 2 * border;
}

bool KyNumLayout::FitsWidth(std::string_view value) const {
    if (!metrics_.Measure) return true;
    return AvailableWidth() >= DisplayWidth(value);
}

// The marks take room only while something is shown.
int KyNumLayout::LeftMarkWidth() const {
    if (value_.empty() && !props_.IntegerFixed && !props_.DecimalFixed) return 0;
    return TextWidth(props_.LeftMark);
}

int KyNumLayout::RightMarkWidth() const {
    if (value_.empty() && !props_.IntegerFixed && !props_.DecimalFixed) return 0;
    return TextWidth(props_.RightMark);
}

int KyNumLayout::Top() const {
    const int ch = metrics_.ClientHeight, th = metrics_.TextHeight;
    switch (props_.VertAlignment) {
    case TVertAlignment::taTopJustify:
        return props_.TopMargin;
    case TVertAlignment::taBottomJustify:
        return ch - th - props_.BottomMargin;
    case TVertAlignment::taVCenter:
        break;
    }
    return (ch - th - props_.TopMargin - props_.BottomMargin) / 2 + props_.TopMargin;
}

KyRect KyNumLayout::Span(int left, int width) const {
    int top = Top();
    return {left, top, left + width, top + metrics_.TextHeight};
}

int KyNumLayout::MiddleOffset() const {
    return (metrics_.ClientWidth - props_.LeftMargin - props_.RightMargin) / 2;
}

int KyNumLayout::GroupHalf() const {
    return (LeftMarkWidth() + TemplateWidth() + RightMarkWidth()) / 2;
}

KyRect KyNumLayout::LeftMarkRect() const {
    const int cw = metrics_.ClientWidth, lm = LeftMarkWidth(), rm = RightMarkWidth(), w = TemplateWidth();
    int left = 0;
    switch (props_.Alignment) {
    case TAlignment::taLeftJustify:
        left = props_.LeftMargin;
        break;
    case TAlignment::taRightJustify:
        left = cw - rm - props_.RightMargin - w - lm - 1;
        break;
    case TAlignment::taCenter:
        left = props_.LeftMargin + MiddleOffset() - GroupHalf();
        break;
    }
    return Span(left, lm);
}

KyRect KyNumLayout::TextBoxRect() const {
    return Span(LeftMarkRect().Left + LeftMarkWidth(), TemplateWidth());
}

KyRect KyNumLayout::TextRect() const {
    const int cw = metrics_.ClientWidth, lm = LeftMarkWidth(), rm = RightMarkWidth(), w = TemplateWidth();
    const int d = TextWidth(FormatDisplay(value_, props_));
    int left = 0;
    switch (props_.Alignment) {
    case TAlignment::taLeftJustify:
        left = lm + props_.LeftMargin + w - d;
        break;
    case TAlignment::taRightJustify:
        left = cw - rm - props_.RightMargin - d - 1;
        break;
    case TAlignment::taCenter:
        left = lm + MiddleOffset() + props_.LeftMargin + w - GroupHalf() - d;
        break;
    }
    return Span(left, d);
}

KyRect KyNumLayout::RightMarkRect() const {
    const int cw = metrics_.ClientWidth, lm = LeftMarkWidth(), rm = RightMarkWidth(), w = TemplateWidth();
    int left = 0;
    switch (props_.Alignment) {
    case TAlignment::taLeftJustify:
        left = w + lm + props_.LeftMargin;
        break;
    case TAlignment::taRightJustify:
        left = cw - rm - props_.RightMargin - 1;
        break;
    case TAlignment::taCenter:
        left = props_.LeftMargin + MiddleOffset() + GroupHalf() - rm;
        break;
    }
    return Span(left, rm);
}

KyPoint KyNumLayout::CaretPosition() const {
    KyRect text = TextRect();
    return {text.Left + CaretTextWidth() - 1, text.Top};
}
