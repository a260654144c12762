#include "print/CashOnDelivery.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(ContainedTax, IsTheWholeYenOfRateOverHundredPlusRate) {
    const std::tuple<const char*, int, const char*> cases[] = {
        {"10000", 10, "909"}, {"5400", 10, "490"},      {"11", 10, "1"},           {"10", 10, "0"},
        {"1080", 8, "80"},    {"1079", 8, "79"},        {"10000", 5, "476"},       {"21", 5, "1"},
        {"20", 5, "0"},       {"9999999", 5, "476190"}, {"9999999", 10, "909090"}, {"10000", 0, "0"},
        {"1000", 100, "500"},
    };
    for (const auto& [amount, rate, tax] : cases)
        EXPECT_EQ(ContainedTaxText(amount, rate), tax) << amount << " at " << rate << "%";
    EXPECT_EQ(ContainedTaxText("10000"), "909"); // the standard rate unless told otherwise
}

TEST(ContainedTax, TruncatesTowardZeroForNegativeAmounts) {
    EXPECT_EQ(ContainedTaxText("-100", 5), "-4");
    EXPECT_EQ(ContainedTaxText("-20", 5), "0");
    EXPECT_EQ(ContainedTaxText("-21", 5), "-1");
    EXPECT_EQ(ContainedTaxText("-11", 10), "-1");
}

TEST(ContainedTax, DecimalsCountBeforeTruncating) {
    EXPECT_EQ(ContainedTaxText("20.9999", 5), "0");
    EXPECT_EQ(ContainedTaxText("21.0", 5), "1");
    EXPECT_EQ(ContainedTaxText("10.9999", 10), "0");
    EXPECT_EQ(ContainedTaxText("22", 10), "2");
}

TEST(ContainedTax, TheLargestAmountDoesNotOverflow) {
    EXPECT_EQ(ContainedTaxText("900000000000000", 10), "81818181818181");
}

TEST(ContainedTax, TextThatIsNoNumberCountsAsZero) {
    EXPECT_EQ(ContainedTaxText(""), "0");
    EXPECT_EQ(ContainedTaxText("1,050"), "0");
    EXPECT_EQ(ContainedTaxText("abc"), "0");
}

TEST(TaxRate, WholePercentsFromZeroToHundred) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"10", 10},
        {" 8 ", 8},
        {"0", 0},
        {"100", 100},
        {"101", std::nullopt},
        {"-1", std::nullopt},
        {"", std::nullopt},
        {"8.5", std::nullopt},
        {"10%", std::nullopt},
        {"ten", std::nullopt},
    };
    for (const auto& [text, rate] : cases)
        EXPECT_EQ(ParseTaxRate(text), rate) << text;
}
