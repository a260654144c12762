#pragma once
// A carrier's slip number as typed or scanned: folded, recognised by its shape and checked by the
// carrier's check digit. The sources of each rule are in docs/tracking.md.
#include <optional>
#include <string>
#include <string_view>

namespace tracking {

enum class SlipNumberKind {
    Unknown,      // no shape we know: other carriers exist
    Domestic,     // 12 digits; the last is the first eleven, as one number, modulo 7
    Registered,   // 11 digits; the last is the first ten modulo 7
    International // UPU S10: two letters, eight serial digits, a check digit, two letters
};

struct SlipNumber {
    std::string number; // folded; empty when the kind is Unknown
    SlipNumberKind kind = SlipNumberKind::Unknown;
    bool valid = false; // the check digit is right (never for Unknown)
};

// Spaces (ASCII and ideographic) and hyphens (ASCII and full-width) removed, full-width digits and
// letters made ASCII, letters upper case. nullopt when the CP932 text holds any other character.
std::optional<std::string> FoldSlipNumber(std::string_view text);

// The number folded, its shape and whether its check digit is right.
SlipNumber ReadSlipNumber(std::string_view text);

// "domestic", "registered", "international"; nullptr for Unknown.
const char* SlipNumberKindName(SlipNumberKind kind);

// The check digit of a run of ASCII digits read as one number: its remainder by 7.
char Mod7CheckDigit(std::string_view digits);

// The check digit of an S10 serial (eight ASCII digits).
char S10CheckDigit(std::string_view serial);

// The number after a valid domestic `number` in a pre-printed stack: the first eleven digits plus one,
// the check digit recomputed. nullopt when `number` is not one, or is the last of the 11-digit range.
std::optional<std::string> NextInStack(std::string_view number);

// What a number entered by hand or scanner leads to.
struct SlipEntry {
    enum Verdict {
        Empty,   // nothing but blanks: no number
        Take,    // a known shape with the right check digit
        Refuse,  // a known shape with a wrong check digit: nothing is stored
        Confirm, // no known shape: stored only after a second confirmation, with a visible mark
    } verdict;
    std::string number; // what to store: folded for a known shape, the text trimmed of blanks else
};
SlipEntry CheckSlipEntry(std::string_view text);

// 「送り状番号が正しくありません（確認数字）」 (CP932), the refusal of a wrong check digit.
std::string WrongCheckDigitMessage();

} // namespace tracking
