#include "orders/Promotion.h"

#include "orders/OrderText.h"

#include <algorithm>
#include <array>
#include <utility>

namespace orders {
namespace {

constexpr std::pair<char32_t, char32_t> kBrackets[] = {
    {U'【', U'】'}, {U'［', U'］'}, {U'[', U']'}, {U'〔', U'〕'}, {U'《', U'》'},
    {U'≪', U'≫'},   {U'＜', U'＞'}, {U'<', U'>'}, {U'〈', U'〉'}, {U'〖', U'〗'},
};

constexpr char32_t kDecorations[] = {U'★', U'☆', U'◆', U'◇', U'■', U'□', U'●', U'○', U'◎', U'♪', U'♫', U'♬',
                                     U'※', U'♥', U'♡', U'❤', U'✿', U'❀', U'✨', U'▼', U'▽', U'▲', U'△'};

// Words that only sell: carriage, points, sales, rankings, seasons' gift campaigns. Compared after
// full-width letters and digits are folded and ASCII is lower-cased.
constexpr std::string_view kPromotionWords[] = {
    "送料無料", "送料込", "メール便", "ポイント",   "sale",         "セール",       "限定",     "特価",
    "割引",     "off",    "クーポン", "半額",       "最大",         "楽天",         "スーパー", "ランキング",
    "1位",      "受賞",   "人気",     "新商品",     "新発売",       "予約",         "あす楽",   "即納",
    "即日",     "翌日",   "マラソン", "期間",       "プレゼント",   "おまけ",       "母の日",   "父の日",
    "敬老の日", "お中元", "お歳暮",   "クリスマス", "バレンタイン", "ホワイトデー", "公式",     "在庫限り",
    "早割",     "お得",   "激安",     "%",          "円引"};

bool IsDecoration(char32_t c) {
    return std::find(std::begin(kDecorations), std::end(kDecorations), c) != std::end(kDecorations);
}

struct Char {
    char32_t cp;
    std::size_t begin, end; // bytes in the name
};

std::vector<Char> Chars(std::string_view s) {
    std::vector<Char> out;
    for (std::size_t i = 0; i < s.size();) {
        std::size_t begin = i;
        char32_t cp = NextCodePoint(s, i);
        out.push_back({cp, begin, i});
    }
    return out;
}

std::string Folded(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        std::size_t begin = i;
        std::uint32_t cp = NextCodePoint(s, i);
        if (cp >= 0xFF01 && cp <= 0xFF5E) cp -= 0xFEE0; // full-width ASCII
        if (cp < 0x80)
            out += static_cast<char>(cp >= 'A' && cp <= 'Z' ? cp - 'A' + 'a' : cp);
        else
            out.append(s.substr(begin, i - begin));
    }
    return out;
}

bool SellsOnly(std::string_view text) {
    const std::string f = Folded(text);
    for (std::string_view w : kPromotionWords)
        if (f.find(w) != std::string::npos) return true;
    // "P10倍": points again, written short.
    for (std::size_t p = f.find('p'); p != std::string::npos; p = f.find('p', p + 1)) {
        std::size_t d = p + 1;
        while (d < f.size() && f[d] >= '0' && f[d] <= '9')
            ++d;
        if (d > p + 1 && std::string_view(f).substr(d).starts_with("倍")) return true;
    }
    return false;
}

bool IsBlank(char32_t c) {
    return c == U' ' || c == U'\u3000' || c == U'\t';
}

} // namespace

std::string WithoutPromotion(std::string_view name) {
    const std::vector<Char> chars = Chars(name);
    std::vector<bool> drop(chars.size(), false);
    auto text = [&](std::size_t from, std::size_t to) { // chars [from, to)
        return name.substr(chars[from].begin, chars[to - 1].end - chars[from].begin);
    };

    // Bracketed promotion: the whole bracket goes.
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const auto* pair = std::find_if(std::begin(kBrackets), std::end(kBrackets),
                                        [&](const auto& b) { return b.first == chars[i].cp; });
        if (pair == std::end(kBrackets)) continue;
        std::size_t j = i + 1;
        while (j < chars.size() && chars[j].cp != pair->second)
            ++j;
        if (j >= chars.size()) break;
        if (j > i + 1 && SellsOnly(text(i + 1, j))) std::fill(drop.begin() + i, drop.begin() + j + 1, true);
        i = j;
    }
    // Words between two marks (★大人気★), or after the last one to the end: they go with the marks.
    std::size_t lastMark = chars.size();
    for (std::size_t i = 0; i <= chars.size(); ++i) {
        const bool mark = i < chars.size() && IsDecoration(chars[i].cp) && !drop[i];
        if (!mark && i < chars.size()) continue;
        if (lastMark < chars.size() && i > lastMark + 1 && SellsOnly(text(lastMark + 1, i)))
            std::fill(drop.begin() + lastMark, drop.begin() + i, true);
        lastMark = i;
    }
    const bool decorated =
        std::any_of(chars.begin(), chars.end(), [](const Char& c) { return IsDecoration(c.cp); });
    if (!decorated && std::find(drop.begin(), drop.end(), true) == drop.end()) return std::string(name);
    // What is left: the marks themselves go; a run of blanks and dropped pieces becomes its first blank,
    // or one space where only a piece was dropped.
    std::string out;
    std::string_view gap;
    bool inGap = false;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const std::string_view ch = name.substr(chars[i].begin, chars[i].end - chars[i].begin);
        if (drop[i] || IsDecoration(chars[i].cp) || IsBlank(chars[i].cp)) {
            if (!inGap) gap = " ";
            if (IsBlank(chars[i].cp) && (!inGap || gap == " ")) gap = ch;
            inGap = true;
            continue;
        }
        if (inGap && !out.empty()) out += gap;
        inGap = false;
        out += ch;
    }
    if (out.empty()) return std::string(name);
    return out;
}

} // namespace orders
