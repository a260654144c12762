// What any text becomes when it is written into a numeric field.
#include "widgets/KyNumText.h"

#include <gtest/gtest.h>

namespace {

const KyNumTextRules kDefaults{};

std::string Norm(std::string_view s, KyNumTextRules r = kDefaults) {
    return NormalizeInput(s, r);
}

TEST(NormalizeInput, DropsGroupingCommas) {
    EXPECT_EQ(Norm("1,234"), "1234");
    EXPECT_EQ(Norm(",,1,,2"), "12");
}

TEST(NormalizeInput, FoldsFullWidthDigitsMinusAndPoint) {
    EXPECT_EQ(Norm("\x82\x50\x82\x51\x82\x52"), "123");                  // １２３
    EXPECT_EQ(Norm("\x81\x7C\x82\x54\x81\x44\x82\x53"), "-5.4");         // －５．４
    EXPECT_EQ(Norm("\x82\x50\x81\x43\x82\x4F\x82\x4F\x82\x4F"), "1000"); // １，０００
}

TEST(NormalizeInput, StopsAtFirstCharacterThatDoesNotBelong) {
    EXPECT_EQ(Norm("\\100"), "");
    EXPECT_EQ(Norm("12a34"), "12");
    EXPECT_EQ(Norm("5-"), "5");
    EXPECT_EQ(Norm("1.2.3"), "1.2");
    EXPECT_EQ(Norm("12 3"), "12");
    EXPECT_EQ(Norm("1\x82\xA0"
                   "2"),
              "1"); // あ ends the conversion
}

TEST(NormalizeInput, MinusOnlyFirstAndOnlyWhenAllowed) {
    EXPECT_EQ(Norm("-5"), "-5");
    EXPECT_EQ(Norm("--5"), "-");
    KyNumTextRules noMinus;
    noMinus.Minus = false;
    EXPECT_EQ(Norm("-12", noMinus), "");
}

TEST(NormalizeInput, DecimalsCutToLength) {
    EXPECT_EQ(Norm("12.34567"), "12.345");
    KyNumTextRules two;
    two.DecimalLength = 2;
    EXPECT_EQ(Norm("12.3456", two), "12.34");
    KyNumTextRules none;
    none.DecimalLength = 0;
    EXPECT_EQ(Norm("12.3456", none), "12");
}

TEST(NormalizeInput, TooManyIntegerDigitsEmpties) {
    EXPECT_EQ(Norm("1234567890"), "");
    EXPECT_EQ(Norm("-123456789"), "-123456789"); // the sign is not a digit
    KyNumTextRules three;
    three.IntegerLength = 3;
    EXPECT_EQ(Norm("9999", three), "");
    EXPECT_EQ(Norm("999.5", three), "999.5");
}

TEST(NormalizeInput, BrokenDoubleByteTextEndsQuietly) {
    EXPECT_EQ(Norm("12\x82"), "12"); // lone lead byte at the end
    EXPECT_EQ(Norm("12\x82\x20"
                   "3"),
              "12"); // lead byte without a trail byte
    EXPECT_EQ(Norm(std::string("1\0"
                               "2",
                               3)),
              "1");
    EXPECT_EQ(Norm(""), "");
}

TEST(NormalizeInput, HugeInputIsHandled) {
    std::string digits(5'000'000, '7');
    EXPECT_EQ(Norm(digits), "");
    std::string decimals = "1." + digits;
    EXPECT_EQ(Norm(decimals), "1.777");
}

TEST(StripLeadingZeros, RemovesIntegerZeros) {
    EXPECT_EQ(StripLeadingZeros("007", kDefaults), "7");
    EXPECT_EQ(StripLeadingZeros("000", kDefaults), "0");
    EXPECT_EQ(StripLeadingZeros("-00.5", kDefaults), "-0.5");
    EXPECT_EQ(StripLeadingZeros(".", kDefaults), "0.");
    EXPECT_EQ(StripLeadingZeros("-", kDefaults), "-");
    EXPECT_EQ(StripLeadingZeros("-0", kDefaults), "-0");
    EXPECT_EQ(StripLeadingZeros("", kDefaults), "");
    EXPECT_EQ(StripLeadingZeros("100", kDefaults), "100");
}

TEST(StripLeadingZeros, KeepsEverythingWhenZerosEnabled) {
    KyNumTextRules keep;
    keep.ZeroEnabled = true;
    EXPECT_EQ(StripLeadingZeros("0012", keep), "0012");
    EXPECT_EQ(StripLeadingZeros(".", keep), ".");
}

} // namespace
