#pragma once
// Name or address: what a line that is neither postcode nor telephone number goes into.
#include <array>
#include <string_view>

extern const std::array<std::string_view, 47> kPrefectures;

// The digit-like characters, then administrative, house-number, post-office, building (full- and
// half-width katakana) and school words.
extern const std::array<std::string_view, 57> kAddressMarkers;

enum class LineKind { Prefecture, Address, Name };

// Prefecture: the trimmed line is exactly a prefecture name. Address: it holds an address marker and
// is 7 characters or longer. Name: anything else, so short names such as 町田 or 村上 stay names.
LineKind JudgeLine(std::string_view line);
