#include "print/CashOnDelivery.h"

#include "platform/Conversions.h"

#include <charconv>

std::optional<int> ParseTaxRate(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    int rate = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), rate);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size() || rate < 0 || rate > 100)
        return std::nullopt;
    return rate;
}

std::string ContainedTaxText(std::string_view amountText, int ratePercent) {
    const Currency amount = StrToCurrOrZero(amountText);
    // One integer division truncates toward zero exactly, where a float would round the shares; the
    // product is taken in 128 bits because an amount may use nearly the whole 64-bit range.
    const __int128 tax = static_cast<__int128>(amount) * ratePercent /
                         (static_cast<__int128>(100 + ratePercent) * kCurrencyScale);
    return IntToStr(static_cast<std::int64_t>(tax));
}
