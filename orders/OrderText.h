#pragma once
// UTF-8 text measured as it will print. Orders keep their texts in UTF-8, so that a character CP932
// cannot hold survives into the queue; limits still count the CP932 bytes the slip gets, where such a
// character becomes one "?" and a format character (a zero-width space, a direction mark) none at all.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orders {

// Bytes of the text once in CP932.
std::size_t Cp932Bytes(std::string_view utf8);

// The UTF-8 offset of the character boundary where the CP932 form of the text reaches byte
// `cp932Pos` (the end of the text when it never does). Characters the conversion drops take no bytes,
// so they stay with the character before them.
std::size_t Utf8Offset(std::string_view utf8, std::size_t cp932Pos);

// The longest head of the text that takes at most `maxBytes` in CP932, never through a character.
std::string CutToCp932Bytes(std::string_view utf8, std::size_t maxBytes);

// The characters CP932 cannot hold, each once, in the order they first appear.
std::vector<std::string> Unencodable(std::string_view utf8);

// Blanks (bytes up to 0x20 and the ideographic space) removed from both ends.
std::string TrimBlanks(std::string_view utf8);

// The text as shown inside a message: cut at `maxChars` characters with "…" after it.
std::string Excerpt(std::string_view utf8, std::size_t maxChars = 24);

// The code point of the character at `i`, moving `i` past it (a stray byte stands for itself).
std::uint32_t NextCodePoint(std::string_view utf8, std::size_t& i);

// Whether the text is plain ASCII (its CP932 form is itself).
bool IsAscii(std::string_view text);

} // namespace orders
