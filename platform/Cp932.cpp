#include "platform/Cp932.h"

namespace cp932 {

bool IsCharBoundary(std::string_view s, std::size_t pos) {
    if (pos == 0 || pos >= s.size()) return true;
    std::size_t i = 0;
    while (i < pos)
        i = NextChar(s, i);
    return i == pos;
}

std::size_t CharCount(std::string_view s) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); i = NextChar(s, i))
        ++n;
    return n;
}

std::string PlainTrim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 0x20)
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 0x20)
        --e;
    return std::string(s.substr(b, e - b));
}

std::string CutBytes(std::string_view s, std::size_t maxBytes) {
    if (s.size() <= maxBytes) return std::string(s);
    std::size_t i = 0;
    while (i < s.size()) {
        std::size_t next = NextChar(s, i);
        if (next > maxBytes) break;
        i = next;
    }
    return std::string(s.substr(0, i));
}

static unsigned char FoldAscii(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? c - 0x20 : c;
}

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    std::size_t i = 0;
    while (i < a.size()) {
        std::size_t len = CharLength(a, i);
        if (len == 2) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
        } else if (FoldAscii(static_cast<unsigned char>(a[i])) !=
                   FoldAscii(static_cast<unsigned char>(b[i]))) {
            return false;
        }
        i += len;
    }
    return true;
}

std::size_t FindChar(std::string_view s, char ch, std::size_t from) {
    std::size_t i = 0;
    while (i < from && i < s.size())
        i = NextChar(s, i);
    for (; i < s.size(); i = NextChar(s, i))
        if (s[i] == ch) return i;
    return std::string_view::npos;
}

} // namespace cp932
