#include "print/CashOnDelivery.h"

#include "platform/Conversions.h"

std::string ContainedTaxText(std::string_view amountText) {
    Currency amount = StrToCurrOrZero(amountText);
    // One integer division: truncates toward zero exactly, where a float would round 1/21 shares.
    return IntToStr(amount / (21 * kCurrencyScale));
}
