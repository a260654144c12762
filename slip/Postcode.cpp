#include "slip/Postcode.h"

#include "platform/Cp932.h"
#include "platform/HalfWidth.h"

#include <array>

namespace slip {
namespace {

// What stands between the third and the fourth digit once folded to half-width: the hyphen, the
// half-width long vowel (ー folds to it), a blank, and the dashes input methods offer (‐ ― −).
constexpr std::array<std::string_view, 6> kSeparators = {"-",        "\xB0",     " ",
                                                         "\x81\x5D", "\x81\x5C", "\x81\x7C"};

std::size_t SeparatorAt(std::string_view s, std::size_t pos) {
    for (std::string_view sep : kSeparators)
        if (s.substr(pos, sep.size()) == sep) return sep.size();
    return 0;
}

std::string_view TrimBlanks(std::string_view s) {
    for (;;) {
        if (!s.empty() && static_cast<unsigned char>(s.front()) <= 0x20)
            s.remove_prefix(1);
        else if (s.substr(0, 2) == "\x81\x40")
            s.remove_prefix(2);
        else
            break;
    }
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 0x20)
        s.remove_suffix(1);
    return s;
}

} // namespace

std::optional<std::string> PostcodeDigits(std::string_view text) {
    std::string_view s = TrimBlanks(text);
    if (s.substr(0, 2) == "\x81\xA7") s = TrimBlanks(s.substr(2)); // 〒
    const std::string folded = cp932::ToHalfWidth(s);
    std::string digits;
    for (std::size_t pos = 0; pos < folded.size();) {
        const char c = folded[pos];
        if (c >= '0' && c <= '9') {
            digits += c;
            ++pos;
        } else if (const std::size_t len = digits.size() == 3 ? SeparatorAt(folded, pos) : 0;
                   len != 0 && pos + len < folded.size() && folded[pos + len] >= '0' &&
                   folded[pos + len] <= '9') {
            pos += len;
        } else {
            return std::nullopt;
        }
    }
    if (digits.size() != 7) return std::nullopt;
    return digits;
}

std::string SlipPostcode(std::string_view text) {
    const std::optional<std::string> digits = PostcodeDigits(text);
    if (!digits) return std::string(text);
    return digits->substr(0, 3) + "-" + digits->substr(3);
}

} // namespace slip
