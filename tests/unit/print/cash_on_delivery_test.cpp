#include "print/CashOnDelivery.h"

#include <gtest/gtest.h>

TEST(ContainedTax, IsTheWholeYenOfOneTwentyFirst) {
    EXPECT_EQ(ContainedTaxText("10000"), "476");
    EXPECT_EQ(ContainedTaxText("20"), "0");
    EXPECT_EQ(ContainedTaxText("21"), "1");
    EXPECT_EQ(ContainedTaxText("1050"), "50");
    EXPECT_EQ(ContainedTaxText("9999999"), "476190");
}

TEST(ContainedTax, TruncatesTowardZeroForNegativeAmounts) {
    EXPECT_EQ(ContainedTaxText("-100"), "-4");
    EXPECT_EQ(ContainedTaxText("-20"), "0");
    EXPECT_EQ(ContainedTaxText("-21"), "-1");
}

TEST(ContainedTax, DecimalsCountBeforeTruncating) {
    EXPECT_EQ(ContainedTaxText("20.9999"), "0");
    EXPECT_EQ(ContainedTaxText("21.0"), "1");
    EXPECT_EQ(ContainedTaxText("41.99"), "1");
    EXPECT_EQ(ContainedTaxText("42"), "2");
}

TEST(ContainedTax, TextThatIsNoNumberCountsAsZero) {
    EXPECT_EQ(ContainedTaxText(""), "0");
    EXPECT_EQ(ContainedTaxText("1,050"), "0");
    EXPECT_EQ(ContainedTaxText("abc"), "0");
}
