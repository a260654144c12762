#include "transfer/Strip.h"

#include "platform/Cp932.h"
#include "transfer/ZipTel.h"
#include "widgets/KyNumText.h"

#include <utility>

const std::array<std::string_view, 45> kStripWords = {
    "\x81\x46",                                                         // ：
    ":",                                                                // :
    "\x97\x6C",                                                         // 様
    "\x81\xA7",                                                         // 〒
    "\x97\x58\x95\xD6\x94\xD4\x8D\x86",                                 // 郵便番号
    "\x82\xE4\x82\xA4\x82\xD1\x82\xF1\x82\xCE\x82\xF1\x82\xB2\x82\xA4", // ゆうびんばんごう
    "\x87\x84",                                                         // ℡
    "TEL",                                                              // TEL
    "Tel",                                                              // Tel
    "tel",                                                              // tel
    "\x82\x73\x82\x85\x82\x8C",                                         // Ｔｅｌ
    "\x82\x94\x82\x85\x82\x8C",                                         // ｔｅｌ
    "TEL",                                                              // TEL
    "\x82\x73\x82\x64\x82\x6B",                                         // ＴＥＬ
    "\x82\xA8\x93\x64\x98\x62\x94\xD4\x8D\x86",                         // お電話番号
    "\x93\x64\x98\x62\x94\xD4\x8D\x86",                                 // 電話番号
    "\x82\xA8\x93\x64\x98\x62",                                         // お電話
    "\x93\x64\x98\x62",                                                 // 電話
    "\x82\xA8\x82\xC5\x82\xF1\x82\xED",                                 // おでんわ
    "\x82\xC5\x82\xF1\x82\xED",                                         // でんわ
    "\x82\xA8\x82\xC8\x82\xDC\x82\xA6",                                 // おなまえ
    "\x82\xA8\x96\xBC\x91\x4F",                                         // お名前
    "\x8C\xE4\x96\xBC\x91\x4F",                                         // 御名前
    "\x96\xBC\x91\x4F",                                                 // 名前
    "\x8C\xE4\x8E\x81\x96\xBC",                                         // 御氏名
    "\x82\xB2\x8E\x81\x96\xBC",                                         // ご氏名
    "\x8E\x81\x96\xBC",                                                 // 氏名
    "\x82\xA8\x82\xC6\x82\xB1\x82\xEB\x82\x50",                         // おところ１
    "\x82\xA8\x82\xC6\x82\xB1\x82\xEB\x82\x51",                         // おところ２
    "\x82\xA8\x82\xC6\x82\xB1\x82\xEB\x31",                             // おところ1
    "\x82\xA8\x82\xC6\x82\xB1\x82\xEB\x32",                             // おところ2
    "\x82\xA8\x82\xC6\x82\xB1\x82\xEB",                                 // おところ
    "\x82\xC6\x82\xB1\x82\xEB",                                         // ところ
    "\x82\xB2\x8F\x5A\x8F\x8A",                                         // ご住所
    "\x8F\x5A\x8F\x8A\x82\x50",                                         // 住所１
    "\x8F\x5A\x8F\x8A\x82\x51",                                         // 住所２
    "\x8F\x5A\x8F\x8A\x31",                                             // 住所1
    "\x8F\x5A\x8F\x8A\x32",                                             // 住所2
    "\x8F\x5A\x8F\x8A",                                                 // 住所
    "\x82\xB2\x91\x97\x95\x74\x90\xE6",                                 // ご送付先
    "\x91\x97\x95\x74\x90\xE6",                                         // 送付先
    "\x82\xA8\x91\x97\x82\xE8\x90\xE6",                                 // お送り先
    "\x91\x97\x82\xE8\x90\xE6",                                         // 送り先
    "\x82\xA8\x93\xCD\x82\xAF\x90\xE6",                                 // お届け先
    "\x93\xCD\x82\xAF\x90\xE6",                                         // 届け先
};

namespace {

constexpr bool IsBlankByte(unsigned char b) {
    return b <= 0x20;
}

void LeftTrim(std::string& s) {
    std::size_t b = 0;
    while (b < s.size() && IsBlankByte(static_cast<unsigned char>(s[b])))
        ++b;
    s.erase(0, b);
}

// A blank or an ideographic space starting at `pos`; its length in bytes, 0 for anything else.
std::size_t WideBlankAt(std::string_view s, std::size_t pos) {
    if (s[pos] == ' ') return 1;
    if (s.substr(pos, 2) == "\x81\x40") return 2;
    return 0;
}

// Marks that open a heading ("■お届け先", "◆ご住所") and never start a value.
constexpr std::array<std::string_view, 13> kHeadingMarks = {
    "\x81\xA1", "\x81\xA0", "\x81\x9F", "\x81\x9E", "\x81\x9C", "\x81\x9B", "\x81\x9A", // ■□◆◇●○★
    "\x81\x99", "\x81\xA6", "\x81\xA5", "\x81\xA3", "\x81\x9D", "\x81\x45",             // ☆※▼▲◎・
};

// Brackets that wrap a heading word: 【】 ［］ [] ＜＞ <> 《》 〈〉 『』 「」.
constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kHeadingBrackets = {{
    {"\x81\x79", "\x81\x7A"},
    {"\x81\x6D", "\x81\x6E"},
    {"[", "]"},
    {"\x81\x83", "\x81\x84"},
    {"<", ">"},
    {"\x81\x73", "\x81\x74"},
    {"\x81\x71", "\x81\x72"},
    {"\x81\x77", "\x81\x78"},
    {"\x81\x75", "\x81\x76"},
}};

// The length of a heading mark or of an empty bracket pair (blanks inside allowed) at `pos`, else 0.
std::size_t HeadingShapeAt(std::string_view s, std::size_t pos) {
    for (std::string_view mark : kHeadingMarks)
        if (s.substr(pos, mark.size()) == mark) return mark.size();
    for (const auto& [open, close] : kHeadingBrackets) {
        if (s.substr(pos, open.size()) != open) continue;
        std::size_t p = pos + open.size();
        while (p < s.size()) {
            const std::size_t blank = WideBlankAt(s, p);
            if (blank == 0) break;
            p += blank;
        }
        if (s.substr(p, close.size()) == close) return p + close.size() - pos;
    }
    return 0;
}

// What the heading words leave of a heading shape goes too: "【】山田" -> "山田", "■" -> "". A line of
// nothing but such shapes and blanks (a heading on a line of its own) becomes empty, so it takes no field.
std::string StripHeadingShapes(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t len = WideBlankAt(text, pos);
        if (len == 0) len = HeadingShapeAt(text, pos);
        if (len == 0) break;
        pos += len;
    }
    return std::string(text.substr(pos));
}

} // namespace

std::string RemoveAll(std::string_view text, std::string_view word) {
    // Most words are in no line: skip the copy when the bytes occur nowhere.
    if (word.empty() || text.find(word) == std::string_view::npos) return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        if (text.substr(pos, word.size()) == word) {
            pos += word.size();
            continue;
        }
        const std::size_t len = cp932::CharLength(text, pos);
        out.append(text, pos, len);
        pos += len;
    }
    return out;
}

std::string TrimWide(std::string_view text) {
    const std::string s = cp932::PlainTrim(text);
    std::size_t begin = 0;
    while (begin < s.size()) {
        const std::size_t len = WideBlankAt(s, begin);
        if (len == 0) break;
        begin += len;
    }
    // Walk forward to find the end of the last character that is not blank, so an ideographic space
    // is never mistaken inside a double-byte character's trail byte.
    std::size_t end = begin;
    for (std::size_t pos = begin; pos < s.size();) {
        const std::size_t blank = WideBlankAt(s, pos);
        if (blank != 0) {
            pos += blank;
            continue;
        }
        pos = cp932::NextChar(s, pos);
        end = pos;
    }
    return s.substr(begin, end - begin);
}

std::string NumericLead(std::string_view text) {
    const KyNumTextRules defaults;
    return StripLeadingZeros(NormalizeInput(text, defaults), defaults);
}

std::string StripLine(std::string_view line) {
    std::string w = cp932::PlainTrim(line);
    for (std::string_view word : kStripWords) {
        w = RemoveAll(w, word);
        LeftTrim(w);
    }
    w = TrimWide(StripHeadingShapes(w));
    if (NumericLead(w).size() >= 3) w = FoldToHalfWidth(w);
    return w;
}

std::vector<std::string> StripLines(std::span<const std::string> memo) {
    std::vector<std::string> lines(kWorkingLines);
    for (std::size_t k = 0; k < kWorkingLines && k < memo.size(); ++k)
        lines[k] = StripLine(memo[k]);
    return lines;
}
