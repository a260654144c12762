#include "orders/OrderText.h"

#include "platform/Cp932.h"
#include "platform/Cp932Codec.h"

#include <algorithm>

namespace orders {
namespace {

// Bytes of the character that starts with `lead` in text known to be UTF-8.
std::size_t Utf8CharLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    return 1;
}

} // namespace

std::uint32_t NextCodePoint(std::string_view s, std::size_t& i) {
    char32_t cp = 0;
    std::size_t len = cp932::DecodeUtf8(s, i, cp);
    if (len == 0) return static_cast<unsigned char>(s[i++]);
    i += len;
    return cp;
}

std::size_t Cp932Bytes(std::string_view utf8) {
    return cp932::FromUtf8(utf8).size();
}

std::size_t Utf8Offset(std::string_view utf8, std::string_view cp932, std::size_t cp932Pos) {
    std::size_t i = 0, j = 0;
    while (i < cp932Pos && i < cp932.size() && j < utf8.size()) {
        i = cp932::NextChar(cp932, i);
        j += Utf8CharLength(static_cast<unsigned char>(utf8[j]));
    }
    return std::min(j, utf8.size());
}

std::string CutToCp932Bytes(std::string_view utf8, std::size_t maxBytes) {
    std::string cp = cp932::FromUtf8(utf8);
    if (cp.size() <= maxBytes) return std::string(utf8);
    std::size_t cut = cp932::CutBytes(cp, maxBytes).size();
    return std::string(utf8.substr(0, Utf8Offset(utf8, cp, cut)));
}

std::vector<std::string> Unencodable(std::string_view utf8) {
    std::vector<std::string> found;
    if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return found;
    std::string cp = cp932::FromUtf8(utf8);
    std::size_t i = 0, j = 0;
    while (i < cp.size() && j < utf8.size()) {
        std::size_t len = Utf8CharLength(static_cast<unsigned char>(utf8[j]));
        if (cp[i] == '?' && utf8[j] != '?') {
            std::string ch(utf8.substr(j, len));
            if (std::find(found.begin(), found.end(), ch) == found.end()) found.push_back(ch);
        }
        i = cp932::NextChar(cp, i);
        j += len;
    }
    return found;
}

std::string TrimBlanks(std::string_view s) {
    static constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";
    for (;;) {
        if (!s.empty() && static_cast<unsigned char>(s.front()) <= 0x20)
            s.remove_prefix(1);
        else if (s.starts_with(kIdeographicSpace))
            s.remove_prefix(kIdeographicSpace.size());
        else if (!s.empty() && static_cast<unsigned char>(s.back()) <= 0x20)
            s.remove_suffix(1);
        else if (s.ends_with(kIdeographicSpace))
            s.remove_suffix(kIdeographicSpace.size());
        else
            return std::string(s);
    }
}

std::string Excerpt(std::string_view utf8, std::size_t maxChars) {
    std::size_t j = 0, n = 0;
    while (j < utf8.size() && n < maxChars) {
        j += Utf8CharLength(static_cast<unsigned char>(utf8[j]));
        ++n;
    }
    if (j >= utf8.size()) return std::string(utf8);
    return std::string(utf8.substr(0, j)) + "\xE2\x80\xA6"; // …
}

} // namespace orders
