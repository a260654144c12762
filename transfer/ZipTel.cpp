#include "transfer/ZipTel.h"

#include "platform/Cp932.h"
#include "platform/HalfWidth.h"

#include <cstdint>

std::size_t CountOccurrences(std::string_view text, std::string_view pattern) {
    const std::size_t n = pattern.size();
    if (n == 0) return 0;
    // Compares as if the text were followed by n zero bytes, so nothing past its end is read.
    auto matchesAt = [&](std::size_t pos) {
        for (std::size_t i = 1; i < n; ++i)
            if ((pos + i < text.size() ? text[pos + i] : '\0') != pattern[i]) return false;
        return true;
    };
    std::size_t count = 0;
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] != '\0') {
        if (text[pos] == pattern[0] && matchesAt(pos)) {
            ++count;
            pos += n;
        } else {
            pos += cp932::IsLeadByte(static_cast<unsigned char>(text[pos])) ? 2 : 1;
        }
    }
    return count;
}

ZipTel ClassifyZipTel(std::string_view text) {
    const auto chars = static_cast<std::int64_t>(cp932::CharCount(cp932::PlainTrim(text)));
    const auto digits = static_cast<std::int64_t>(CountEach(text, kDigitLike));
    const std::int64_t others = chars - digits;
    if (chars == 8 && others == 0) return ZipTel::Postcode;
    if (chars >= 10 && others <= 1) return ZipTel::Phone;
    return ZipTel::Neither;
}

std::string FoldToHalfWidth(std::string_view text) {
    return cp932::ToHalfWidth(text);
}
