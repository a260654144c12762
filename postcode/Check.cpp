#include "postcode/Check.h"

#include "platform/Cp932.h"
#include "platform/HalfWidth.h"
#include "postcode/Code.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace postcode {

namespace {

constexpr std::string_view kChome = "\x92\x9A\x96\xDA";                       // 丁目
constexpr std::string_view kBanchi = "\x94\xD4\x92\x6E";                      // 番地
constexpr std::string_view kBan = "\x94\xD4";                                 // 番
constexpr std::string_view kGo = "\x8D\x86";                                  // 号
constexpr std::string_view kJo = "\x8F\xF0";                                  // 条
constexpr std::string_view kTori = "\x92\xCA";                                // 通
constexpr std::string_view kOaza = "\x91\xE5\x8E\x9A";                        // 大字
constexpr std::string_view kAza = "\x8E\x9A";                                 // 字
constexpr char kKe = '\xB9';                                                  // ｹ: ケ after the folding
constexpr char kNo = '\xC9';                                                  // ﾉ: ノ after the folding
constexpr std::array<std::string_view, 2> kKeLike = {"\x83\x96", "\x82\xAA"}; // ヶ が
constexpr std::array<std::string_view, 2> kNoLike = {"\x82\xCC", "\x94\x56"}; // の 之
constexpr std::array<std::string_view, 4> kDashLike = {"\xB0", "\x81\x5D", "\x81\x5C", "\x84\x9F"}; // ｰ ‐ ― ─

struct KanjiNumeral {
    std::string_view ch;
    int value;
    bool unit;
};
constexpr std::array<KanjiNumeral, 13> kKanjiNumerals = {{
    {"\x81\x5A", 0, false},   // 〇
    {"\x88\xEA", 1, false},   // 一
    {"\x93\xF1", 2, false},   // 二
    {"\x8E\x4F", 3, false},   // 三
    {"\x8E\x6C", 4, false},   // 四
    {"\x8C\xDC", 5, false},   // 五
    {"\x98\x5A", 6, false},   // 六
    {"\x8E\xB5", 7, false},   // 七
    {"\x94\xAA", 8, false},   // 八
    {"\x8B\xE3", 9, false},   // 九
    {"\x8F\x5C", 10, true},   // 十
    {"\x95\x53", 100, true},  // 百
    {"\x90\xE7", 1000, true}, // 千
}};

// Kyoto's directions from a street crossing, longest first; folded as FoldAddress leaves them.
constexpr std::array<std::string_view, 10> kDirections = {
    "\x93\x8C\x93\xFC\xD9",     // 東入ﾙ
    "\x93\x8C\x93\xFC\x82\xE9", // 東入る
    "\x90\xBC\x93\xFC\xD9",     // 西入ﾙ
    "\x90\xBC\x93\xFC\x82\xE9", // 西入る
    "\x93\x8C\x93\xFC",         // 東入
    "\x90\xBC\x93\xFC",         // 西入
    "\x8F\xE3\xD9",             // 上ﾙ
    "\x8F\xE3\x82\xE9",         // 上る
    "\x89\xBA\xD9",             // 下ﾙ
    "\x89\xBA\x82\xE9",         // 下る
};

const KanjiNumeral* KanjiNumeralAt(std::string_view s, std::size_t pos) {
    for (const KanjiNumeral& k : kKanjiNumerals)
        if (s.substr(pos, 2) == k.ch) return &k;
    return nullptr;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

template <std::size_t N>
bool OneOf(std::string_view ch, const std::array<std::string_view, N>& set) {
    for (std::string_view s : set)
        if (ch == s) return true;
    return false;
}

// "二十三" -> 23, "二〇" -> 20, "百五" -> 105.
std::string KanjiNumber(std::string_view run) {
    bool positional = true;
    for (std::size_t i = 0; i < run.size(); i += 2)
        if (KanjiNumeralAt(run, i)->unit) positional = false;
    std::string digits;
    long total = 0, pending = -1;
    for (std::size_t i = 0; i < run.size(); i += 2) {
        const KanjiNumeral* k = KanjiNumeralAt(run, i);
        if (positional)
            digits += static_cast<char>('0' + k->value);
        else if (k->unit) {
            total += (pending < 0 ? 1 : pending) * k->value;
            pending = -1;
        } else {
            pending = (pending < 0 ? 0 : pending) * 10 + k->value;
        }
    }
    return positional ? digits : std::to_string(total + (pending < 0 ? 0 : pending));
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

bool EndsInDigit(const std::string& s) {
    return !s.empty() && IsDigit(s.back());
}

// The rest of `rest` after the town `town`, directly or after a Kyoto street direction.
std::optional<std::string_view> AfterTown(std::string_view rest, std::string_view town) {
    if (StartsWith(rest, town)) return rest.substr(town.size());
    std::size_t pos = 0;
    while (pos < rest.size() && rest.substr(pos, kTori.size()) != kTori)
        pos = cp932::NextChar(rest, pos);
    for (; pos < rest.size(); pos = cp932::NextChar(rest, pos)) {
        for (std::string_view dir : kDirections) {
            if (rest.substr(pos, dir.size()) != dir) continue;
            std::string_view after = rest.substr(pos + dir.size());
            // A chōme may follow the direction (…上る二丁目富永町).
            std::size_t d = 0;
            while (d < after.size() && IsDigit(after[d]))
                ++d;
            if (d > 0 && d < after.size() && after[d] == '-') after.remove_prefix(d + 1);
            if (StartsWith(after, town)) return after.substr(town.size());
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// True when the address names no chōme after the town, or one of `chome` ("1-19,21").
bool ChomeAllowed(std::string_view chome, std::string_view afterTown) {
    std::size_t d = 0;
    while (d < afterTown.size() && d < 6 && IsDigit(afterTown[d]))
        ++d;
    if (d == 0 || (d < afterTown.size() && afterTown[d] != '-')) return true;
    const long n = std::stol(std::string(afterTown.substr(0, d)));
    std::size_t pos = 0;
    while (pos < chome.size()) {
        std::size_t comma = chome.find(',', pos);
        std::string item(
            chome.substr(pos, comma == std::string_view::npos ? std::string_view::npos : comma - pos));
        pos = comma == std::string_view::npos ? chome.size() : comma + 1;
        const std::size_t dash = item.find('-');
        try {
            const long lo = std::stol(item.substr(0, dash));
            const long hi = dash == std::string::npos ? lo : std::stol(item.substr(dash + 1));
            if (n >= lo && n <= hi) return true;
        } catch (const std::exception&) {
            return true; // a damaged note limits nothing
        }
    }
    return false;
}

// The house number of a business office's street ("2-1-1" of 2丁目1番1号ビル3F) begins what follows
// the town, and no further digit runs on from it.
bool StreetMatches(std::string_view street, std::string_view afterTown) {
    std::size_t n = 0;
    while (n < street.size() && (IsDigit(street[n]) || street[n] == '-'))
        ++n;
    while (n > 0 && street[n - 1] == '-')
        --n;
    const std::string_view key = n > 0 ? street.substr(0, n) : street;
    if (!StartsWith(afterTown, key)) return false;
    return n == 0 || afterTown.size() == key.size() || !IsDigit(afterTown[key.size()]);
}

// The folded prefecture and city of the entries in turn: a code's entries mostly share them.
struct FoldedCity {
    std::string_view pref, city;
    std::string foldedCity, foldedPrefCity;
    void For(const EntryView& e) {
        if (e.pref == pref && e.city == city && !foldedCity.empty()) return;
        pref = e.pref;
        city = e.city;
        foldedCity = FoldAddress(e.city);
        foldedPrefCity = FoldAddress(e.pref) + foldedCity;
    }
};

bool Matches(const EntryView& e, FoldedCity& folded, std::string_view address) {
    folded.For(e);
    std::string_view rest;
    if (StartsWith(address, folded.foldedPrefCity))
        rest = address.substr(folded.foldedPrefCity.size());
    else if (StartsWith(address, folded.foldedCity))
        rest = address.substr(folded.foldedCity.size());
    else
        return false;
    if (e.town.empty() && !e.business) return true;
    const auto afterTown = AfterTown(rest, FoldAddress(e.town));
    if (!afterTown) return false;
    if (!e.chome.empty() && !ChomeAllowed(e.chome, *afterTown)) return false;
    if (e.business && !e.street.empty()) return StreetMatches(FoldAddress(e.street), *afterTown);
    return true;
}

} // namespace

std::string FoldAddress(std::string_view text) {
    const std::string s = cp932::ToHalfWidth(text);
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t len = cp932::CharLength(s, i);
        const std::string_view ch(s.data() + i, len);
        if (len == 1 && static_cast<unsigned char>(ch[0]) <= 0x20) {
            i += 1;
        } else if (len == 2 && KanjiNumeralAt(s, i)) {
            std::size_t j = i;
            while (j + 1 < s.size() && KanjiNumeralAt(s, j))
                j += 2;
            const std::string_view unit = std::string_view(s).substr(j, 4);
            const bool counted = StartsWith(unit, kChome) || StartsWith(unit, kJo) ||
                                 StartsWith(unit, kBan) || StartsWith(unit, kGo);
            out += counted ? KanjiNumber(std::string_view(s).substr(i, j - i)) : s.substr(i, j - i);
            i = j;
        } else if (EndsInDigit(out) && (StartsWith(std::string_view(s).substr(i), kChome) ||
                                        StartsWith(std::string_view(s).substr(i), kBanchi))) {
            out += '-';
            i += 4;
        } else if (EndsInDigit(out) && ch == kBan) {
            out += '-';
            i += 2;
        } else if (EndsInDigit(out) && ch == kGo) {
            i += 2;
        } else if (StartsWith(std::string_view(s).substr(i), kOaza)) {
            i += kOaza.size();
        } else if (ch == kAza) {
            i += 2;
        } else if (OneOf(ch, kKeLike)) {
            out += kKe;
            i += len;
        } else if (OneOf(ch, kNoLike)) {
            out += kNo;
            i += len;
        } else if (OneOf(ch, kDashLike)) {
            out += '-';
            i += len;
        } else {
            out += ch;
            i += len;
        }
    }
    return out;
}

CheckResult CheckAddress(const Index& index, std::string_view zip, std::string_view address) {
    CheckResult r;
    const auto code = NormalizeCode(zip);
    if (!code) return r;
    r.code = *code;
    const std::vector<EntryView> entries = index.Entries(static_cast<std::uint32_t>(std::stoul(*code)));
    if (entries.empty()) {
        r.kind = CheckKind::UnknownZip;
        return r;
    }
    const std::string folded = FoldAddress(address);
    const EntryView* hit = nullptr;
    FoldedCity city;
    if (!folded.empty())
        for (const EntryView& e : entries)
            if (Matches(e, city, folded)) {
                hit = &e;
                break;
            }
    r.kind = hit ? CheckKind::Match : CheckKind::Mismatch;
    const EntryView& shown = hit ? *hit : entries.front();
    r.expected = std::string(shown.pref) + std::string(shown.city) + std::string(shown.town);
    return r;
}

const char* CheckKindName(CheckKind kind) {
    switch (kind) {
    case CheckKind::Match:
        return "match";
    case CheckKind::Mismatch:
        return "mismatch";
    case CheckKind::UnknownZip:
        return "unknown_zip";
    case CheckKind::NoZip:
        return "no_zip";
    }
    return "no_zip";
}

} // namespace postcode
