#pragma once
// Postcodes as people write them: "5300001", "530-0001", "５３０－０００１", "〒530 0001". The slip's
// boxes take the three digits before the hyphen and the four after it, so every spelling of a
// seven-digit code is written "NNN-NNNN" before it reaches them.
#include <optional>
#include <string>
#include <string_view>

namespace slip {

// The seven half-width digits of a postcode written with half- or full-width digits, at most one hyphen
// or blank between the third and the fourth digit, an optional leading 〒 and blanks around; nullopt
// for anything else. CP932 in, ASCII out.
std::optional<std::string> PostcodeDigits(std::string_view text);

// "NNN-NNNN" for any spelling PostcodeDigits accepts; any other text as it stands (a foreign or
// partial code is the user's to correct, not ours to drop).
std::string SlipPostcode(std::string_view text);

} // namespace slip
