// Where marks, text and caret go, from widths measured at a fixed number of pixels per byte.
#include "widgets/KyNumLayout.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr int kPerByte = 6;

struct LayoutCase {
    KyNumEditProps props;
    KyNumMetrics metrics;
    LayoutCase() {
        metrics.Measure = [](std::string_view s) { return static_cast<int>(s.size()) * kPerByte; };
        metrics.ClientWidth = 100;
        metrics.ClientHeight = 20;
        metrics.TextHeight = 13;
    }
    KyNumLayout At(std::string_view value) const { return KyNumLayout(props, value, metrics); }
};

int W(std::string_view s) {
    return s.empty() ? 0 : static_cast<int>(s.size()) * kPerByte + 1;
}

TEST(TextWidth, EmptyIsZeroOtherwiseMeasuredPlusOne) {
    LayoutCase c;
    EXPECT_EQ(c.At("").TextWidth(""), 0);
    EXPECT_EQ(c.At("").TextWidth("12"), 13);
    c.metrics.Measure = nullptr;
    EXPECT_EQ(c.At("").TextWidth("12"), 0);
    EXPECT_TRUE(c.At("").FitsWidth("123456789"));
}

TEST(TextRect, RightAlignedEndsOnePixelInsideTheRightMargin) {
    LayoutCase c;
    KyRect r = c.At("1234").TextRect();
    EXPECT_EQ(r.Right, 97);
    EXPECT_EQ(r.Left, 97 - W("1,234"));
}

TEST(TextRect, LeftAlignedStartsAtTheMarginWhenNoMarks) {
    LayoutCase c;
    c.props.Alignment = TAlignment::taLeftJustify;
    KyRect r = c.At("1234").TextRect();
    EXPECT_EQ(r.Left, 2);
    EXPECT_EQ(r.Width(), W("1,234"));
}

TEST(TextRect, CenteredGroupSitsInTheMiddle) {
    LayoutCase c;
    c.props.Alignment = TAlignment::taCenter;
    KyRect r = c.At("1234").TextRect();
    const int d = W("1,234");
    EXPECT_EQ(r.Left, 2 + 48 - d / 2);
    EXPECT_LE(std::abs((r.Left + r.Right) - 100), 2);
}

TEST(MarkRects, MarksFrameTheTextOnEitherSide) {
    LayoutCase c;
    c.props.LeftMark = "\\";
    c.props.RightMark = "\x89\x7E";
    for (TAlignment a : {TAlignment::taLeftJustify, TAlignment::taRightJustify, TAlignment::taCenter}) {
        c.props.Alignment = a;
        KyNumLayout l = c.At("-12.5");
        EXPECT_EQ(l.LeftMarkRect().Right, l.TextRect().Left) << static_cast<int>(a);
        // Centring halves the group with truncation, so an odd group may leave a pixel there.
        EXPECT_LE(std::abs(l.TextRect().Right - l.RightMarkRect().Left), a == TAlignment::taCenter ? 1 : 0);
        EXPECT_EQ(l.LeftMarkRect().Width(), W("\\"));
        EXPECT_EQ(l.RightMarkRect().Width(), W("\x89\x7E"));
    }
    c.props.Alignment = TAlignment::taRightJustify;
    EXPECT_EQ(c.At("5").RightMarkRect().Right, 97);
}

TEST(MarkRects, NoRoomForMarksWhileNothingIsShown) {
    LayoutCase c;
    c.props.LeftMark = "\\";
    EXPECT_EQ(c.At("").LeftMarkRect().Width(), 0);
    c.props.IntegerFixed = true;
    EXPECT_EQ(c.At("").LeftMarkRect().Width(), W("\\"));
}

TEST(TextRect, DisplayIsRightAlignedInsideAFixedTemplate) {
    LayoutCase c;
    c.props.Alignment = TAlignment::taLeftJustify;
    c.props.IntegerFixed = true;
    c.props.IntegerLength = 4;
    c.props.Minus = false;
    KyNumLayout l = c.At("7");
    EXPECT_EQ(l.TemplateWidth(), W("0,000"));
    EXPECT_EQ(l.TextRect().Right, 2 + W("0,000"));
    EXPECT_EQ(l.TextBoxRect().Left, 2);
}

TEST(CaretPosition, StandsAfterTypedDigitsBeforePaddedDecimals) {
    LayoutCase c;
    c.props.DecimalFixed = true;
    c.props.DecimalLength = 2;
    c.props.LeftMark = "\\";
    KyNumLayout l = c.At("5");
    KyRect text = l.TextRect();
    EXPECT_EQ(text.Width(), W("5.00"));
    EXPECT_EQ(l.CaretPosition().X, text.Left + W("5") - 1);
    EXPECT_EQ(l.CaretPosition().Y, text.Top);
}

TEST(VerticalPlacement, TopBottomAndCentre) {
    LayoutCase c;
    EXPECT_EQ(c.At("1").TextRect().Top, 3);
    EXPECT_EQ(c.At("1").TextRect().Bottom, 16);
    c.props.VertAlignment = TVertAlignment::taTopJustify;
    EXPECT_EQ(c.At("1").TextRect().Top, 2);
    c.props.VertAlignment = TVertAlignment::taBottomJustify;
    EXPECT_EQ(c.At("1").TextRect().Top, 5);
    c.metrics.ClientHeight = 10; // taller text than room: the division truncates toward zero
    c.props.VertAlignment = TVertAlignment::taVCenter;
    EXPECT_EQ(c.At("1").TextRect().Top, (10 - 13 - 4) / 2 + 2);
}

TEST(AvailableWidth, LessMarginsAndBorder) {
    LayoutCase c;
    EXPECT_EQ(c.At("").AvailableWidth(), 100 - 2 - 2 - 4);
    c.props.Ctl3D = false;
    EXPECT_EQ(c.At("").AvailableWidth(), 100 - 2 - 2 - 2);
    c.props.Ctl3D = true;
    c.props.BorderStyle = TBorderStyle::bsNone;
    EXPECT_EQ(c.At("").AvailableWidth(), 100 - 2 - 2 - 2);
}

TEST(FitsWidth, CountsMarksAndGrouping) {
    LayoutCase c;
    c.metrics.ClientWidth = 4 + 4 + W("1,234"); // exactly room for 1,234
    EXPECT_TRUE(c.At("").FitsWidth("1234"));
    EXPECT_FALSE(c.At("").FitsWidth("12345"));
    c.props.RightMark = "%";
    EXPECT_FALSE(c.At("").FitsWidth("1234"));
}

} // namespace
