#include "widgets/KyNumText.h"

#include "platform/Cp932.h"

unsigned HalfWidthNumberCode(unsigned code) {
    if (code >= 0x824F && code <= 0x8258) return '0' + (code - 0x824F);
    if (code == 0x817C) return '-';
    if (code == 0x8144) return '.';
    return code;
}

namespace {

constexpr unsigned kWideComma = 0x8143;

// Pass 1: full-width digits, minus and full stop to their half-width forms; stops at anything else
// double-byte or broken.
std::string ConvertWide(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (!cp932::IsLeadByte(c)) {
            out += s[i++];
            continue;
        }
        if (i + 1 >= s.size() || !cp932::IsTrailByte(static_cast<unsigned char>(s[i + 1]))) break;
        const unsigned code = (c << 8) | static_cast<unsigned char>(s[i + 1]);
        const unsigned half = HalfWidthNumberCode(code);
        if (half < 0x80)
            out += static_cast<char>(half);
        else if (code != kWideComma)
            break;
        i += 2;
    }
    return out;
}

} // namespace

std::string NormalizeInput(std::string_view text, const KyNumTextRules& rules) {
    std::string converted = ConvertWide(text);
    std::string out;
    bool seenPoint = false;
    for (std::size_t i = 0; i < converted.size(); ++i) {
        char c = converted[i];
        if (c >= '0' && c <= '9') {
            out += c;
        } else if (c == ',') {
            continue;
        } else if (c == '.') {
            if (rules.DecimalLength <= 0 || seenPoint) break;
            seenPoint = true;
            out += c;
        } else if (c == '-') {
            if (!rules.Minus || i != 0) break;
            out += c;
        } else {
            break;
        }
    }
    if (out.empty()) return out;
    if (std::size_t point = out.find('.'); point != std::string::npos) {
        std::size_t decimals = out.size() - point - 1;
        if (decimals > static_cast<std::size_t>(rules.DecimalLength))
            out.resize(point + 1 + rules.DecimalLength);
    }
    std::size_t intEnd = std::min(out.find('.'), out.size());
    std::size_t intDigits = intEnd - (out[0] == '-' ? 1 : 0);
    if (intDigits > static_cast<std::size_t>(std::max(rules.IntegerLength, 0))) out.clear();
    return out;
}

std::string StripLeadingZeros(std::string_view value, const KyNumTextRules& rules) {
    if (rules.ZeroEnabled) return std::string(value);
    std::string sign;
    if (!value.empty() && value[0] == '-') {
        sign = "-";
        value.remove_prefix(1);
    }
    std::size_t zeros = 0;
    while (zeros < value.size() && value[zeros] == '0')
        ++zeros;
    std::string rest(value.substr(zeros));
    if (zeros > 0 && rest.empty()) rest = "0";
    if (!rest.empty() && rest[0] == '.') rest = "0" + rest;
    return sign + rest;
}
