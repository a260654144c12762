#pragma once
// The value-text rules of the numeric edit that other subsystems share: what a text becomes when it
// is written into a numeric edit.
#include <string>
#include <string_view>

struct KyNumTextRules {
    int IntegerLength = 9;
    int DecimalLength = 3;
    bool Minus = true;
    bool ZeroEnabled = false;
};

// A full-width digit, minus or full stop (a CP932 double-byte code) to its half-width character;
// any other code comes back unchanged.
unsigned HalfWidthNumberCode(unsigned code);

// Any CP932 text to a valid value text: full-width digits, minus and full stop folded, commas dropped,
// cut at the first character that does not belong, decimals cut to DecimalLength, emptied when the
// integer part is longer than IntegerLength.
std::string NormalizeInput(std::string_view text, const KyNumTextRules& rules);

// "007" -> "7", "000" -> "0", "-00.5" -> "-0.5", "." -> "0."; unchanged when ZeroEnabled.
std::string StripLeadingZeros(std::string_view value, const KyNumTextRules& rules);
