#pragma once
// One-line splitting: a line that begins with a half-width postcode and goes on with the address is
// cut in two, and the address moves to the first empty line below.
#include <span>
#include <string>
#include <vector>

// The memo's first seven lines, each trimmed, after splitting; always seven lines.
std::vector<std::string> SplitOneLine(std::span<const std::string> memo);
