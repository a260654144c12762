#pragma once
// The cash-on-delivery group's rule: the tax contained in an amount that includes 5 per cent tax.
#include <string>
#include <string_view>

// Amount value text -> whole-yen tax (amount / 21, truncated toward zero) as plain decimal text.
// A text that is not a number counts as 0.
std::string ContainedTaxText(std::string_view amountText);
