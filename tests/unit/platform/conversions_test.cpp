#include "platform/Conversions.h"
#include "platform/RuntimeErrors.h"

#include <gtest/gtest.h>

TEST(StrToInt, AcceptsDecimalAndHexadecimal) {
    EXPECT_EQ(StrToInt("42"), 42);
    EXPECT_EQ(StrToInt("  -17"), -17);
    EXPECT_EQ(StrToInt("+5"), 5);
    EXPECT_EQ(StrToInt("$1F"), 31);
    EXPECT_EQ(StrToInt("0x10"), 16);
    EXPECT_EQ(StrToInt("0X7fffffff"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
    EXPECT_EQ(StrToInt("-$10"), -16);
}

TEST(StrToInt, RejectsEverythingElseWithTheRuntimeMessage) {
    for (const char* bad :
         {"", " ", "12 ", "1.5", "abc", "2147483648", "-2147483649", "$", "0x", "--1", "1e3", "１２"}) {
        EXPECT_FALSE(TryStrToInt(bad).has_value()) << bad;
    }
    try {
        StrToInt("12.0");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'12.0' is not a valid integer value");
    }
    EXPECT_EQ(StrToIntOrZero("x"), 0);
    EXPECT_EQ(StrToIntOrZero("-5"), -5);
}

TEST(StrToCurr, ReadsFixedPointWithFourDecimals) {
    EXPECT_EQ(StrToCurrOrZero("1234"), 12340000);
    EXPECT_EQ(StrToCurrOrZero(" -1.5 "), -15000);
    EXPECT_EQ(StrToCurrOrZero("0.00005"), 1); // rounded half away from zero
    EXPECT_EQ(StrToCurrOrZero("0.00004"), 0);
    EXPECT_EQ(StrToCurrOrZero("-0.00005"), -1);
    EXPECT_EQ(StrToCurrOrZero("12."), 120000);
    EXPECT_EQ(StrToCurrOrZero(".5"), 5000);
    EXPECT_EQ(StrToCurrOrZero("9999999"), 99999990000);
}

TEST(StrToCurr, NonNumbersAndOverflowGiveZero) {
    for (const char* bad : {"", "-", ".", "1,000", "12a", "1.2.3", "99999999999999999999", "¥100"})
        EXPECT_EQ(StrToCurrOrZero(bad), 0) << bad;
}

TEST(InsertCommas, GroupsByThreeFromTheRight) {
    EXPECT_EQ(InsertCommas("1234567"), "1,234,567");
    EXPECT_EQ(InsertCommas("123"), "123");
    EXPECT_EQ(InsertCommas("1234"), "1,234");
    EXPECT_EQ(InsertCommas("123456"), "123,456");
    EXPECT_EQ(InsertCommas(""), "");
}
