#pragma once
// Text-to-number conversions of the runtime, over CP932 text.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Fixed-point amount: a count of 1/10000.
using Currency = std::int64_t;
constexpr Currency kCurrencyScale = 10000;

// Leading blanks, an optional sign, then decimal digits or hexadecimal after "$" or "0x"/"0X", within
// the signed 32-bit range. Nothing may follow. nullopt when the text is not such a number.
std::optional<std::int32_t> TryStrToInt(std::string_view text);

// As TryStrToInt; raises EConvertError "'%s' is not a valid integer value" when the text is not one.
std::int32_t StrToInt(std::string_view text);

std::int32_t StrToIntOrZero(std::string_view text);

// Optional surrounding blanks, an optional sign, digits, an optional point and decimals, rounded
// half away from zero to four decimals. nullopt when the text is not such a number or overflows.
std::optional<Currency> TryStrToCurr(std::string_view text);

Currency StrToCurrOrZero(std::string_view text);

std::string IntToStr(std::int64_t value);

// "," after every third character from the right, never in front of the first: 1234567 -> 1,234,567.
std::string InsertCommas(std::string_view digits);
