#include "postcode/Code.h"

#include "platform/Cp932.h"
#include "platform/HalfWidth.h"

namespace postcode {

std::optional<std::string> NormalizeCode(std::string_view text) {
    const std::string s = cp932::PlainTrim(cp932::ToHalfWidth(text));
    std::string digits;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] >= '0' && s[i] <= '9')
            digits += s[i];
        else if (!(s[i] == '-' && i == 3))
            return std::nullopt;
    }
    if (digits.size() != 7) return std::nullopt;
    return digits;
}

std::string FormatCode(std::string_view code) {
    if (code.size() != 7) return std::string(code);
    return std::string(code.substr(0, 3)) + "-" + std::string(code.substr(3));
}

} // namespace postcode
