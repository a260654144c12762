#pragma once
// The cash-on-delivery group's rule: the consumption tax contained in an amount that includes it.
#include <optional>
#include <string>
#include <string_view>

// Japan's standard rate since October 2019; 8 is the reduced rate for food.
inline constexpr int kDefaultTaxRate = 10;
inline constexpr int kReducedTaxRate = 8;

// A rate as the settings file or the command line give it: a whole percent from 0 to 100 ("10", " 8 ");
// nullopt for anything else.
std::optional<int> ParseTaxRate(std::string_view text);

// Amount value text -> whole-yen contained tax, amount × rate / (100 + rate) truncated toward zero, as
// plain decimal text. A text that is not a number counts as 0.
std::string ContainedTaxText(std::string_view amountText, int ratePercent = kDefaultTaxRate);
