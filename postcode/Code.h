#pragma once
// Postcodes as typed: "5300001", "530-0001", full-width digits and hyphen, blanks around.
#include <optional>
#include <string>
#include <string_view>

namespace postcode {

// The 7 half-width digits of a postcode after the half-width folding, or nullopt for anything else.
std::optional<std::string> NormalizeCode(std::string_view text);

// "530-0001" for "5300001".
std::string FormatCode(std::string_view code);

} // namespace postcode
