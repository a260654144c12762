#include "orders/OrderText.h"

#include "platform/Cp932.h"
#include "platform/Cp932Codec.h"

#include <algorithm>
#include <unordered_map>

namespace orders {
namespace {

// Bytes of the character that starts with `lead` in text known to be UTF-8.
std::size_t Utf8CharLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    return 1;
}

// The CP932 form of one character given by its UTF-8 bytes, remembered per character: an order file
// repeats the same few thousand characters, and converting each one anew was most of an import's time.
std::string_view Cp932Char(std::string_view utf8Char) {
    thread_local std::unordered_map<std::string, std::string> known;
    auto it = known.find(std::string(utf8Char));
    if (it == known.end()) {
        if (known.size() > 65536) known.clear(); // a hostile file cannot make it grow without end
        it = known.emplace(std::string(utf8Char), cp932::FromUtf8(utf8Char)).first;
    }
    return it->second;
}

// Calls `f(offset, length, cp932)` for each character of the text with its CP932 form: the
// character's own bytes for ASCII, "?" for what CP932 cannot hold, "" for what the conversion drops.
// Stops when `f` returns false. Each character is converted on its own, so a dropped one never
// shifts the ones after it.
template <typename F>
void ForEachChar(std::string_view utf8, F f) {
    std::size_t i = 0;
    while (i < utf8.size()) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        const std::size_t len = c < 0x80 ? 1 : std::min(Utf8CharLength(c), utf8.size() - i);
        const std::string_view ch = utf8.substr(i, len);
        if (!f(i, len, c < 0x80 ? ch : Cp932Char(ch))) return;
        i += len;
    }
}

} // namespace

std::uint32_t NextCodePoint(std::string_view s, std::size_t& i) {
    char32_t cp = 0;
    std::size_t len = cp932::DecodeUtf8(s, i, cp);
    if (len == 0) return static_cast<unsigned char>(s[i++]);
    i += len;
    return cp;
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::size_t Cp932Bytes(std::string_view utf8) {
    if (IsAscii(utf8)) return utf8.size();
    std::size_t bytes = 0;
    ForEachChar(utf8, [&](std::size_t, std::size_t, std::string_view cp) {
        bytes += cp.size();
        return true;
    });
    return bytes;
}

std::size_t Utf8Offset(std::string_view utf8, std::size_t cp932Pos) {
    std::size_t bytes = 0, offset = utf8.size();
    ForEachChar(utf8, [&](std::size_t i, std::size_t, std::string_view cp) {
        if (bytes >= cp932Pos && !cp.empty()) {
            offset = i;
            return false;
        }
        bytes += cp.size();
        return true;
    });
    return offset;
}

std::string CutToCp932Bytes(std::string_view utf8, std::size_t maxBytes) {
    if (Cp932Bytes(utf8) <= maxBytes) return std::string(utf8);
    std::size_t bytes = 0, end = 0;
    ForEachChar(utf8, [&](std::size_t i, std::size_t len, std::string_view cp) {
        if (bytes + cp.size() > maxBytes) return false;
        bytes += cp.size();
        end = i + len;
        return true;
    });
    return std::string(utf8.substr(0, end));
}

std::vector<std::string> Unencodable(std::string_view utf8) {
    std::vector<std::string> found;
    if (IsAscii(utf8)) return found;
    ForEachChar(utf8, [&](std::size_t i, std::size_t len, std::string_view cp) {
        if (cp == "?" && utf8[i] != '?') {
            std::string ch(utf8.substr(i, len));
            if (std::find(found.begin(), found.end(), ch) == found.end()) found.push_back(std::move(ch));
        }
        return true;
    });
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
