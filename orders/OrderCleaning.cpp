#include "orders/OrderCleaning.h"

#include "orders/OrderText.h"
#include "orders/Promotion.h"
#include "platform/Cp932.h"
#include "platform/Cp932Codec.h"
#include "platform/HalfWidth.h"
#include "transfer/Judge.h"

#include <algorithm>
#include <optional>

namespace orders {
namespace {

// Digits, signs and blanks as ASCII: full-width forms folded by the locale's half-width mapping, every
// dash-like character "-". nullopt when anything else (kana, kanji, letters past ASCII) is left.
std::optional<std::string> AsciiForm(std::string_view s) {
    if (IsAscii(s)) return std::string(s); // most postcodes, phones and amounts: nothing to fold
    const std::string half = cp932::ToUtf8(cp932::ToHalfWidth(cp932::FromUtf8(s)));
    std::string out;
    std::size_t i = 0;
    while (i < half.size()) {
        std::uint32_t cp = NextCodePoint(half, i);
        if ((cp >= 0x2010 && cp <= 0x2015) || cp == 0x2212 || cp == 0x30FC || cp == 0xFF70) cp = '-';
        if (cp >= 0x80) return std::nullopt;
        out += static_cast<char>(cp);
    }
    return out;
}

std::string Quote(std::string_view s) {
    return "「" + Excerpt(s) + "」";
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// CP932 forms of UTF-8 words, made once.
std::vector<std::string> Cp932Words(std::initializer_list<const char*> utf8) {
    std::vector<std::string> out;
    for (const char* w : utf8)
        out.push_back(cp932::FromUtf8(w));
    return out;
}

// Length of the word of `words` that starts at `pos`, or 0.
std::size_t WordAt(std::string_view s, std::size_t pos, const std::vector<std::string>& words) {
    for (const std::string& w : words)
        if (s.substr(pos).starts_with(w)) return w.size();
    return 0;
}

bool EndsWithDigit(std::string_view s) {
    static constexpr std::string_view kFullWidthDigitLead = "\xEF\xBC"; // ０-９ are EF BC 90-99
    if (!s.empty() && IsDigit(s.back())) return true;
    return s.size() >= 3 && s.substr(s.size() - 3, 2) == kFullWidthDigitLead &&
           static_cast<unsigned char>(s.back()) >= 0x90 && static_cast<unsigned char>(s.back()) <= 0x99;
}

} // namespace

Cleaned CleanPostcode(std::string_view text) {
    std::string t = TrimBlanks(text);
    if (t.empty()) return {"", "郵便番号がありません", Severity::Problem};
    auto unreadable = [&] { return Cleaned{t, "郵便番号" + Quote(t) + "を読めません", Severity::Problem}; };
    static const std::string kMark = "\xE3\x80\x92"; // 〒
    std::string s = t;
    if (s.starts_with(kMark)) s.erase(0, kMark.size());
    auto ascii = AsciiForm(s);
    if (!ascii) return unreadable();
    std::string digits;
    for (std::size_t i = 0; i < ascii->size(); ++i) {
        char c = (*ascii)[i];
        if (IsDigit(c))
            digits += c;
        else if (c != '-' && c != ' ' && !(c == '\'' && i == 0))
            return unreadable();
    }
    if (digits.size() < 5 || digits.size() > 7) return unreadable();
    bool dropped = digits.size() < 7;
    digits.insert(0, 7 - digits.size(), '0');
    std::string r = digits.substr(0, 3) + "-" + digits.substr(3);
    if (r == t) return {r, ""};
    if (dropped) return {r, "郵便番号" + Quote(t) + "は先頭の0が欠けていたため「" + r + "」にしました"};
    return {r, "郵便番号" + Quote(t) + "を「" + r + "」と書き直しました"};
}

Cleaned CleanPhone(std::string_view text) {
    std::string t = TrimBlanks(text);
    auto ascii = AsciiForm(t);
    if (!ascii) return {t, ""};
    std::string f = *ascii;
    if (f.starts_with("+81")) {
        std::string rest = f.substr(3);
        auto skipSeparators = [&] {
            std::size_t k = 0;
            while (k < rest.size() && (rest[k] == ' ' || rest[k] == '-' || rest[k] == ')'))
                ++k;
            rest.erase(0, k);
        };
        skipSeparators();
        if (rest.starts_with("(0)")) rest.erase(0, 3);
        skipSeparators();
        std::string r;
        for (char c : rest) {
            if (c == ' ' || c == '(' || c == ')') c = '-';
            if (c == '-' && (r.empty() || r.back() == '-')) continue;
            r += c;
        }
        if (!r.starts_with('0')) r.insert(0, "0");
        return {r, "電話番号" + Quote(t) + "を国内の書き方「" + r + "」にしました"};
    }
    bool digitsAndHyphens =
        !f.empty() && std::all_of(f.begin(), f.end(), [](char c) { return IsDigit(c) || c == '-'; });
    auto count = std::count_if(f.begin(), f.end(), IsDigit);
    if (digitsAndHyphens && f[0] >= '1' && f[0] <= '9' && (count == 9 || count == 10)) {
        std::string r = "0" + f;
        return {r, "電話番号" + Quote(t) + "は先頭の0が欠けていたため「" + r + "」にしました"};
    }
    return {t, ""};
}

bool IsCashOnDelivery(std::string_view payment) {
    for (std::string_view w : {"代引", "代金引換", "代金引替", "代金引き換え"})
        if (payment.find(w) != std::string_view::npos) return true;
    std::string lower(payment);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (lower.find("cash on delivery") != std::string::npos) return true;
    for (std::size_t at = lower.find("cod"); at != std::string::npos; at = lower.find("cod", at + 1)) {
        auto isWordChar = [&](std::size_t k) {
            char c = lower[k];
            return (c >= 'a' && c <= 'z') || IsDigit(c);
        };
        if ((at == 0 || !isWordChar(at - 1)) && (at + 3 >= lower.size() || !isWordChar(at + 3))) return true;
    }
    return false;
}

Cleaned CashOnDeliveryAmount(std::string_view total) {
    std::string t = TrimBlanks(total);
    if (t.empty()) return {"0", "代引ですが合計金額がないため、代引金額を0にしました", Severity::Problem};
    auto zero = [&](const char* why) {
        return Cleaned{"0", std::string("代引の合計金額") + Quote(t) + why + "、代引金額を0にしました",
                       Severity::Problem};
    };
    static const std::string kYen = "\xE5\x86\x86"; // 円
    std::string s;
    for (std::size_t i = 0; i < t.size();) {
        if (std::string_view(t).substr(i).starts_with(kYen)) {
            i += kYen.size();
            continue;
        }
        std::size_t start = i;
        std::uint32_t cp = NextCodePoint(t, i);
        if (cp == 0xA5 || cp == 0xFFE5 || cp == '\\' || cp == 0xFF3C) continue; // yen signs
        s.append(t, start, i - start);
    }
    auto ascii = AsciiForm(s);
    if (!ascii) return zero("を読めないため");
    std::string digits;
    std::size_t i = 0;
    for (; i < ascii->size() && (*ascii)[i] != '.'; ++i) {
        char c = (*ascii)[i];
        if (IsDigit(c))
            digits += c;
        else if (c != ',' && c != ' ')
            return zero("を読めないため");
    }
    if (i < ascii->size()) { // only a zero decimal part may follow
        std::string_view dec = std::string_view(*ascii).substr(i + 1);
        if (dec.empty() || dec.find_first_not_of('0') != std::string_view::npos)
            return zero("が円単位でないため");
    }
    if (digits.empty()) return zero("を読めないため");
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
    if (digits.size() > kAmountDigits) return zero("が7桁を超えるため");
    if (digits == t) return {digits, ""};
    return {digits, "代引金額" + Quote(t) + "を「" + digits + "」にしました"};
}

std::string PrefectureName(std::string_view text) {
    std::string t = TrimBlanks(text);
    std::string_view code = t;
    if (code.starts_with("JP-") || code.starts_with("jp-")) code.remove_prefix(3);
    if (!code.empty() && code.size() <= 2 && std::all_of(code.begin(), code.end(), IsDigit)) {
        int n = std::stoi(std::string(code));
        if (n >= 1 && n <= 47) return cp932::ToUtf8(kPrefectures[static_cast<std::size_t>(n - 1)]);
    }
    return t;
}

std::size_t AddressCut(std::string_view s, const std::vector<std::size_t>& partEnds, std::size_t maxBytes) {
    static const std::vector<std::string> kDigits =
        Cp932Words({"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"});
    static const std::vector<std::string> kKanjiDigits =
        Cp932Words({"一", "二", "三", "四", "五", "六", "七", "八", "九", "十", "〇"});
    static const std::vector<std::string> kConnectors = Cp932Words({"－", "‐", "ー", "―", "の"});
    // Words that end or continue a house number: "2丁目", "5番地", "南1条西", "第3地割".
    static const std::vector<std::string> kNumberWords =
        Cp932Words({"丁目", "番地", "地割", "番", "号", "条", "線", "丁"});
    static const std::string kIdeographicSpace = cp932::FromUtf8("　");

    auto isBlank = [&](std::size_t i) { return s[i] == ' ' || s.substr(i).starts_with(kIdeographicSpace); };
    auto isPartEnd = [&](std::size_t i) {
        return std::find(partEnds.begin(), partEnds.end(), i) != partEnds.end();
    };
    std::size_t best = 0;
    int bestScore = 0;
    auto offer = [&](std::size_t pos, int score) {
        if (pos == 0 || pos >= s.size() || pos > maxBytes) return;
        if (score > bestScore || (score == bestScore && pos > best)) best = pos, bestScore = score;
    };

    // Nothing past `maxBytes` can be offered, so a long line is not scanned to its end.
    std::size_t i = 0;
    while (i < s.size() && i <= maxBytes) {
        if (isBlank(i) || isPartEnd(i)) offer(i, 1);
        bool arabic = IsDigit(s[i]) || WordAt(s, i, kDigits);
        if (!arabic && !WordAt(s, i, kKanjiDigits)) {
            i = cp932::NextChar(s, i);
            continue;
        }
        // A run of digits, connectors and number words; it is a house number when it holds an arabic
        // digit or a number word, so that names such as 三田 or 八王子 are not taken for one.
        bool number = false;
        std::size_t end = i, j = i;
        while (j < s.size()) {
            if (IsDigit(s[j])) {
                number = true;
                end = j = j + 1;
            } else if (std::size_t n = WordAt(s, j, kDigits)) {
                number = true;
                end = j = j + n;
            } else if (std::size_t n = WordAt(s, j, kKanjiDigits)) {
                end = j = j + n;
            } else if (std::size_t n = WordAt(s, j, kNumberWords); n && j > i) {
                number = true;
                end = j = j + n;
            } else if (std::size_t n = s[j] == '-' ? 1 : WordAt(s, j, kConnectors); n && !isPartEnd(j)) {
                j += n; // a connector belongs to the run only when a digit follows
            } else {
                break;
            }
            if (isPartEnd(j)) break;
        }
        if (number) offer(end, end < s.size() && (isBlank(end) || isPartEnd(end)) ? 3 : 2);
        i = std::max(end, cp932::NextChar(s, i));
    }
    return best;
}

AddressLines LayoutAddress(std::string_view prefecture, const std::vector<std::string>& parts,
                           std::string_view building, std::string_view company) {
    AddressLines out;
    std::vector<std::string> pieces;
    for (const std::string& p : parts)
        if (std::string t = TrimBlanks(p); !t.empty()) pieces.push_back(t);
    std::string pref = PrefectureName(prefecture);
    if (!pref.empty() && (pieces.empty() || !pieces.front().starts_with(pref)))
        pieces.insert(pieces.begin(), pref);

    // The joined line and where its parts meet; a blank keeps a house number off the next part.
    std::string line;
    std::vector<std::size_t> meets;
    for (const std::string& p : pieces) {
        if (!line.empty()) {
            if (EndsWithDigit(line)) line += ' ';
            meets.push_back(line.size());
        }
        line += p;
    }
    std::string b = TrimBlanks(building);
    std::string c = TrimBlanks(company);

    // Splits `text` at its best cut within 40 bytes: head and tail, or nullopt when there is none.
    auto split =
        [](const std::string& text,
           const std::vector<std::size_t>& utf8Meets) -> std::optional<std::pair<std::string, std::string>> {
        std::string cp = cp932::FromUtf8(text);
        std::vector<std::size_t> ends;
        for (std::size_t m : utf8Meets)
            ends.push_back(cp932::FromUtf8(std::string_view(text).substr(0, m)).size());
        std::size_t cut = AddressCut(cp, ends, kAddressLineBytes);
        if (cut == 0) return std::nullopt;
        std::size_t u = Utf8Offset(text, cut);
        return std::make_pair(TrimBlanks(text.substr(0, u)), TrimBlanks(text.substr(u)));
    };

    std::string rest;
    if (Cp932Bytes(line) <= kAddressLineBytes) {
        out.add1 = line;
    } else if (auto cut = split(line, meets)) {
        out.add1 = cut->first;
        rest = cut->second;
        out.warnings.push_back({Severity::Note, "住所が40バイトを超えるため、おところ①と②に分けました"});
    } else {
        out.add1 = line;
        out.warnings.push_back(
            {Severity::Problem, "おところ①が40バイトを超えています（分けられる区切りがありません）"});
    }
    std::vector<std::size_t> meets2;
    out.add2 = rest;
    if (!b.empty()) {
        if (out.add1.empty()) {
            out.add1 = b;
        } else {
            if (!out.add2.empty()) out.add2 += ' ';
            meets2.push_back(out.add2.size());
            out.add2 += b;
        }
    }
    if (!c.empty()) {
        out.add3 = c;
        out.warnings.push_back({Severity::Note, "会社名" + Quote(c) + "をおところ③に入れました"});
    } else if (Cp932Bytes(out.add2) > kAddressLineBytes) {
        if (auto cut = split(out.add2, meets2)) {
            out.add2 = cut->first;
            out.add3 = cut->second;
            out.warnings.push_back({Severity::Note, "おところ②が40バイトを超えるため、③に分けました"});
        }
    }
    return out;
}

GoodsLines LayoutGoods(const std::vector<std::string>& itemNames) {
    GoodsLines out;
    std::vector<std::string> names;
    for (const std::string& n : itemNames)
        if (std::string t = TrimBlanks(n); !t.empty()) names.push_back(t);
    std::string* lines[] = {&out.g1, &out.g2, &out.g3};
    for (std::size_t i = 0; i < names.size() && i < 3; ++i) {
        std::string name = WithoutPromotion(names[i]);
        if (name != names[i])
            out.warnings.push_back({Severity::Note, "品名" + Quote(names[i]) + "から宣伝の文字を除き" +
                                                        Quote(name) + "にしました"});
        *lines[i] = TrimBlanks(CutToCp932Bytes(name, kGoodsLineBytes)); // a cut at a blank leaves none
        if (*lines[i] != name)
            out.warnings.push_back(
                {Severity::Note,
                 "品名" + Quote(name) + "を" + std::to_string(kGoodsLineBytes) + "バイトで切りました"});
    }
    if (names.size() > 3)
        out.warnings.push_back({Severity::Note, "商品が" + std::to_string(names.size()) +
                                                    "点あります。品名には最初の3点を入れました"});
    return out;
}

} // namespace orders
