#pragma once
// Counting patterns, telling postcodes and telephone numbers from other lines, and folding them to
// half-width: the small operations every transfer step builds on.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// How often `pattern` occurs in `text`: matches start only on a character boundary, compare byte for
// byte, never overlap, and the count stops at a zero byte. An empty pattern occurs nowhere.
std::size_t CountOccurrences(std::string_view text, std::string_view pattern);

// Sum of the counts of each pattern in the list.
template <std::size_t N>
std::size_t CountEach(std::string_view text, const std::array<std::string_view, N>& patterns) {
    std::size_t sum = 0;
    for (std::string_view p : patterns)
        sum += CountOccurrences(text, p);
    return sum;
}

// Half-width digits, "-", full-width digits and "－", in counting order. ー ‐ ― are not among them.
inline constexpr std::array<std::string_view, 22> kDigitLike = {
    "0",        "1",        "2",        "3",        "4",        "5",        "6",        "7",
    "8",        "9",        "-",        "\x82\x4F", "\x82\x50", "\x82\x51", "\x82\x52", "\x82\x53", // ０ - ４
    "\x82\x54", "\x82\x55", "\x82\x56", "\x82\x57", "\x82\x58", // ５ - ９
    "\x81\x7C",                                                 // －
};

enum class ZipTel { Postcode, Phone, Neither };

// Postcode: exactly 8 characters after trimming, all digit-like. Phone: 10 characters or more with at
// most one that is not digit-like. Anything else: neither.
ZipTel ClassifyZipTel(std::string_view text);

// Full-width characters to their half-width forms (digits, letters, signs, the ideographic space,
// katakana); everything else unchanged. Texts of any length are folded whole.
std::string FoldToHalfWidth(std::string_view text);
