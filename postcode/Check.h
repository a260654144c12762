#pragma once
// Does a postcode fit an address? The tolerant comparison used after a transfer and before printing.
//
// The address (lines ① and ② joined) matches an entry of the code when, after folding both sides,
// it begins with the entry's [prefecture] + city + town, where the folding
//   - drops blanks and folds full-width letters, digits and katakana to half-width;
//   - treats ケ/ヶ/が alike, ノ/の/之 alike, and the hyphen-like dashes alike;
//   - reads kanji numerals before 丁目, 条, 番(地) and 号 as digits, and makes "N丁目", "N番地",
//     "N番" into "N-" and drops the 号 of "N号", so 二丁目3番4号 reads as 2-3-4;
//   - drops 大字 and 字;
// and further
//   - a Kyoto street direction (…通…上ル/上る/下ル/下る/東入/東入ル/東入る/西入/西入ル/西入る) may
//     stand before the town;
//   - a town limited to some chōme (an imported official file's notes) needs a chōme among them when
//     the address names one;
//   - an entry whose town is empty matches any town of its city;
//   - a business-office entry needs its street's house number (2-1-1 of 2丁目1番1号) after the town.
#include "postcode/Index.h"

#include <string>
#include <string_view>

namespace postcode {

enum class CheckKind { Match, Mismatch, UnknownZip, NoZip };

struct CheckResult {
    CheckKind kind = CheckKind::NoZip;
    std::string code;     // the 7 digits, "" for NoZip
    std::string expected; // prefecture + city + town of the matching entry, else of the first; "" when none
};

// NoZip: `zip` is not a postcode (Code.h); UnknownZip: the data lacks it; Mismatch: no entry fits the
// address (an empty address included).
CheckResult CheckAddress(const Index& index, std::string_view zip, std::string_view address);

// "match", "mismatch", "unknown_zip", "no_zip".
const char* CheckKindName(CheckKind kind);

// The folding above, on its own.
std::string FoldAddress(std::string_view text);

} // namespace postcode
