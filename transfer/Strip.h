#pragma once
// Heading-word stripping: the labels, colons and honorifics that order texts put around their values
// come out of the memo's first seven lines before the lines are recognised.
#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The 45 removals in order; a longer word stands before the shorter one it contains, and "TEL" twice
// so that a "TEL" left behind by the first cut goes too.
extern const std::array<std::string_view, 45> kStripWords;

// The working lines the transfer keeps.
inline constexpr std::size_t kWorkingLines = 7;

// One left-to-right pass that cuts out every occurrence of `word` starting on a character boundary;
// text that comes together after a cut is not searched again.
std::string RemoveAll(std::string_view text, std::string_view word);

// Plain trim, then blanks and ideographic spaces off both ends.
std::string TrimWide(std::string_view text);

// The number at the start of the text as a numeric edit with default settings would hold it
// ("123-4567" -> "123", "03-1234" -> "3", "東京" -> "").
std::string NumericLead(std::string_view text);

// One line through the removals, TrimWide and, when it begins with a number of three characters or
// more, the half-width fold.
std::string StripLine(std::string_view line);

// The memo's first seven lines stripped; always seven lines (missing ones read as empty).
std::vector<std::string> StripLines(std::span<const std::string> memo);
