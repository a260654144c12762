#pragma once
// Conversion between UTF-8 (what Linux, Qt and the probe speak) and CP932 (what the rules speak).
#include <string>
#include <string_view>

namespace cp932 {

// Look-alikes that Linux input methods produce are folded to their CP932 partners first, and format
// characters (zero-width spaces, direction marks, byte-order marks: Unicode category Cf) are dropped;
// any other character CP932 cannot hold, and any byte that is not UTF-8, becomes "?".
std::string FromUtf8(std::string_view utf8);

// Length of the well-formed UTF-8 sequence at `pos` and its code point, or 0 when the bytes there are
// not one (a stray or cut-off byte, an overlong form, a surrogate).
std::size_t DecodeUtf8(std::string_view s, std::size_t pos, char32_t& cp);

// Bytes that are not CP932 (a lone lead byte, a pair with no character) become U+FFFD; never reads
// past the end.
std::string ToUtf8(std::string_view cp932);

} // namespace cp932
