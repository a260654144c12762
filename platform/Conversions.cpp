#include "platform/Conversions.h"

#include "platform/RuntimeErrors.h"

#include <limits>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::optional<std::int32_t> TryStrToInt(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && IsBlank(s[i]))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16, ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16, i += 2;
    }
    if (i == s.size()) return std::nullopt;
    const std::int64_t limit = negative ? std::int64_t{1} << 31 : (std::int64_t{1} << 31) - 1;
    std::int64_t value = 0;
    for (; i < s.size(); ++i) {
        int d = base == 16 ? HexValue(s[i]) : (IsDigit(s[i]) ? s[i] - '0' : -1);
        if (d < 0) return std::nullopt;
        value = value * base + d;
        if (value > limit) return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

std::int32_t StrToInt(std::string_view text) {
    if (auto v = TryStrToInt(text)) return *v;
    throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

std::int32_t StrToIntOrZero(std::string_view text) {
    return TryStrToInt(text).value_or(0);
}

std::optional<Currency> TryStrToCurr(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    s = s.substr(b, e - b);
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    std::int64_t whole = 0;
    bool anyDigit = false;
    for (; i < s.size() && IsDigit(s[i]); ++i) {
        anyDigit = true;
        if (whole > (kMax / kCurrencyScale - 9) / 10) return std::nullopt;
        whole = whole * 10 + (s[i] - '0');
    }
    std::int64_t frac = 0;
    int fracDigits = 0;
    bool roundUp = false;
    if (i < s.size() && s[i] == '.') {
        for (++i; i < s.size() && IsDigit(s[i]); ++i) {
            anyDigit = true;
            if (fracDigits < 4) {
                frac = frac * 10 + (s[i] - '0');
                ++fracDigits;
            } else if (fracDigits == 4) {
                roundUp = s[i] >= '5';
                ++fracDigits;
            }
        }
    }
    if (!anyDigit || i != s.size()) return std::nullopt;
    for (int d = std::min(fracDigits, 4); d < 4; ++d)
        frac *= 10;
    std::int64_t value = whole * kCurrencyScale + frac + (roundUp ? 1 : 0);
    return negative ? -value : value;
}

Currency StrToCurrOrZero(std::string_view text) {
    return TryStrToCurr(text).value_or(0);
}

std::string IntToStr(std::int64_t value) {
    return std::to_string(value);
}

std::string InsertCommas(std::string_view digits) {
    std::string out;
    out.reserve(digits.size() + digits.size() / 3);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}
