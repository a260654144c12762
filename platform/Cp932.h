#pragma once
// Code-page-932 byte strings: the one place that knows where a character starts and ends.
#include <cstddef>
#include <string>
#include <string_view>

namespace cp932 {

// The longest text the program keeps in one field or value, far beyond any real address or name and
// any typing limit; longer text from a file or a paste is cut here.
inline constexpr std::size_t kLongestText = 2047;

// 0x81-0x9F and 0xE0-0xFC open a double-byte character; every other byte stands alone.
constexpr bool IsLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The second byte of a double-byte character.
constexpr bool IsTrailByte(unsigned char b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// Bytes the character at `pos` occupies: 2 for a lead byte with a trail byte after it, else 1.
// A lead byte at the very end counts as a character of its own, so no caller reads past the end.
inline std::size_t CharLength(std::string_view s, std::size_t pos) {
    return (IsLeadByte(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size()) ? 2 : 1;
}

inline std::size_t NextChar(std::string_view s, std::size_t pos) {
    return pos + CharLength(s, pos);
}

// True when `pos` falls between two characters (0 and size() included).
bool IsCharBoundary(std::string_view s, std::size_t pos);

std::size_t CharCount(std::string_view s);

// Removes every byte <= 0x20 from both ends; the ideographic space (0x81 0x40) stays.
std::string PlainTrim(std::string_view s);

// At most `maxBytes` bytes, never ending in half of a double-byte character.
std::string CutBytes(std::string_view s, std::size_t maxBytes);

// ASCII letters compare without case; double-byte characters compare exactly (their trail bytes
// may look like letters and must not be folded).
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

// Position of the first `ch` (a single byte < 0x80) that stands as a character of its own, or npos.
std::size_t FindChar(std::string_view s, char ch, std::size_t from = 0);

} // namespace cp932
