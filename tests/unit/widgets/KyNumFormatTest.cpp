// How a value text is shown: grouping, fixed decimals and integers, marks, templates.
#include "widgets/KyNumFormat.h"

#include <gtest/gtest.h>

namespace {

TEST(SplitValue, SeparatesSignIntegerPointDecimals) {
    KyNumParts p = SplitValue("-12.50");
    EXPECT_EQ(p.Sign, "-");
    EXPECT_EQ(p.Integer, "12");
    EXPECT_EQ(p.Point, ".");
    EXPECT_EQ(p.Decimals, "50");
    KyNumParts q = SplitValue("7");
    EXPECT_EQ(q.Integer, "7");
    EXPECT_EQ(q.Point, "");
    for (const char* v : {"", "-", "-.", "0.", "-123.4", "5"})
        EXPECT_EQ(JoinParts(SplitValue(v)), v);
}

TEST(FormatDisplay, DefaultsGroupTheIntegerPartOnly) {
    KyNumEditProps p;
    EXPECT_EQ(FormatDisplay("1234567", p), "1,234,567");
    EXPECT_EQ(FormatDisplay("-1234.5", p), "-1,234.5");
    EXPECT_EQ(FormatDisplay("1234.5678", p), "1,234.5678"); // decimals are never grouped
    EXPECT_EQ(FormatDisplay("", p), "");
    p.Comma = false;
    EXPECT_EQ(FormatDisplay("1234567", p), "1234567");
}

TEST(FormatDisplay, DecimalFixedPadsAndShowsZero) {
    KyNumEditProps p;
    p.DecimalFixed = true;
    EXPECT_EQ(FormatDisplay("", p), "0.000");
    EXPECT_EQ(FormatDisplay("12.3", p), "12.300");
    EXPECT_EQ(FormatDisplay("-", p), "-0.000");
    p.DecimalLength = 0;
    EXPECT_EQ(FormatDisplay("12", p), "12");
}

TEST(FormatDisplay, IntegerFixedShowsZeroForEmpty) {
    KyNumEditProps p;
    p.IntegerFixed = true;
    EXPECT_EQ(FormatDisplay("", p), "0");
    EXPECT_EQ(FormatDisplay(".5", p), "0.5");
    EXPECT_EQ(FormatDisplay("5", p), "5");
}

TEST(FormatWithMarks, MarksOnlyAroundSomething) {
    KyNumEditProps p;
    p.LeftMark = "\\";
    p.RightMark = "\x89\x7E"; // 円
    EXPECT_EQ(FormatWithMarks("1000", p), "\\1,000\x89\x7E");
    EXPECT_EQ(FormatWithMarks("", p), "");
    p.DecimalFixed = true;
    p.DecimalLength = 2;
    EXPECT_EQ(FormatWithMarks("5", p), "\\5.00\x89\x7E");
    EXPECT_EQ(FormatWithMarks("", p), "\\0.00\x89\x7E");
}

TEST(TemplateText, FollowsTheValueUnlessFixed) {
    KyNumEditProps p;
    EXPECT_EQ(TemplateText("1234.5", p), "1,234.5");
    EXPECT_EQ(TemplateText("", p), "");
    p.IntegerFixed = true;
    p.IntegerLength = 5;
    EXPECT_EQ(TemplateText("7", p), "-00,000");
    p.Minus = false;
    p.DecimalFixed = true;
    p.DecimalLength = 2;
    EXPECT_EQ(TemplateText("7", p), "00,000.00");
    p.IntegerFixed = false;
    EXPECT_EQ(TemplateText("", p), "0.00");
}

TEST(MaxTemplateText, WidestPossibleValue) {
    KyNumEditProps p;
    EXPECT_EQ(MaxTemplateText(p), "-000,000,000.000");
    p.Minus = false;
    p.Comma = false;
    p.IntegerLength = 3;
    p.DecimalLength = 0;
    EXPECT_EQ(MaxTemplateText(p), "000.");
}

TEST(CaretText, WhatWasTypedWithoutPaddedDecimals) {
    KyNumEditProps p;
    p.DecimalFixed = true;
    p.DecimalLength = 2;
    EXPECT_EQ(CaretText("5", p), "5");
    EXPECT_EQ(CaretText("1234.5", p), "1,234.5");
    EXPECT_EQ(CaretText("", p), "0");
    p.DecimalFixed = false;
    EXPECT_EQ(CaretText("", p), "");
}

} // namespace
