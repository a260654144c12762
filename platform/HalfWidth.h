#pragma once
// The Japanese locale's half-width mapping over CP932 text: what Windows does with
// LCMapString(LCMAP_HALFWIDTH), held here as a table so no locale data is needed at run time.
#include <string>
#include <string_view>

namespace cp932 {

// Half-width form of the double-byte character lead/trail, or an empty view when it has none.
std::string_view HalfWidthOf(unsigned char lead, unsigned char trail);

// Every character that has a half-width form replaced by it (a voiced katakana becomes two
// characters); every other byte stays as it is, broken ones included. Never longer than `s`.
std::string ToHalfWidth(std::string_view s);

} // namespace cp932
