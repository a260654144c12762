#include "escp/TextModePlan.h"

#include "escp/JisX0208.h"
#include "platform/Cp932.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace escp {
namespace {

struct Char {
    std::string bytes;
    StrikeKind kind;
    std::uint16_t jis = 0;
    bool wide = false;  // takes a kanji's pitch
    bool space = false; // a blank: never starts or ends a text
};

std::vector<Char> CharsOf(const std::string& text) {
    std::vector<Char> chars;
    for (std::size_t i = 0; i < text.size(); i = cp932::NextChar(text, i)) {
        Char c{text.substr(i, cp932::CharLength(text, i)), StrikeKind::Bitmap};
        const auto b0 = static_cast<unsigned char>(c.bytes[0]);
        if (c.bytes.size() == 1) {
            // Only printable ASCII goes out as a byte: anything else could be taken for a command.
            if (b0 >= 0x20 && b0 <= 0x7E) c.kind = StrikeKind::Ank;
            c.space = b0 == 0x20;
        } else {
            c.wide = true;
            if (auto jis = JisX0208Of(b0, static_cast<unsigned char>(c.bytes[1]))) {
                c.kind = StrikeKind::Kanji;
                c.jis = *jis;
                c.space = *jis == 0x2121;
            }
        }
        chars.push_back(std::move(c));
    }
    return chars;
}

// The pitches of one text at one size.
struct Fit {
    std::size_t size = 0, pitch = 0;
    int ankSpacing = 0, kanjiSpacing = 0;
    int ankPitch = 0, kanjiPitch = 0; // dots
    bool fits = false;
    long distance = 0;
};

// `dots` per character at best: the pitch across is the character plus its spacing, both scaled.
Fit FitAt(const CommandSet& set, std::size_t size, bool hasKanji, bool hasAnk, int kanjiDots, int ankDots,
          int cellHeight, int sizeDots72) {
    const CharSize& s = set.sizes[size];
    Fit f{size};
    f.fits = set.cellHeight * s.scaleY <= cellHeight;
    if (hasKanji) {
        f.fits = f.fits && set.kanjiWidth * s.scaleX <= kanjiDots;
        f.kanjiSpacing = std::clamp(kanjiDots / s.scaleX - set.kanjiWidth, 0, set.kanjiSpacing.max);
        f.kanjiPitch = s.scaleX * (set.kanjiWidth + f.kanjiSpacing);
    }
    if (hasAnk) {
        f.pitch = set.ankPitches.size() - 1; // the narrowest, unless a wider one fits
        for (std::size_t p = 0; p < set.ankPitches.size(); ++p) {
            if (set.ankPitches[p].width * s.scaleX <= ankDots) {
                f.pitch = p;
                break;
            }
        }
        const int width = set.ankPitches[f.pitch].width;
        f.fits = f.fits && width * s.scaleX <= ankDots;
        f.ankSpacing = std::clamp(ankDots / s.scaleX - width, 0, set.ankSpacing.max);
        f.ankPitch = s.scaleX * (width + f.ankSpacing);
    }
    // How far a kanji box of this size is from the layout's em square, in 1/72 dot.
    f.distance = std::labs(72L * set.kanjiWidth * s.scaleX - sizeDots72) +
                 std::labs(72L * set.cellHeight * s.scaleY - sizeDots72);
    return f;
}

} // namespace

std::vector<TextPlan> PlanTexts(const std::vector<SlipDraw>& draws, PageDots page, const CommandSet& set,
                                GlyphSource& glyphs) {
    std::vector<TextPlan> plans;
    for (const SlipDraw& d : draws) {
        std::vector<Char> chars = CharsOf(d.text);
        auto first = std::find_if(chars.begin(), chars.end(), [](const Char& c) { return !c.space; });
        if (first == chars.end()) continue;
        auto last = std::find_if(chars.rbegin(), chars.rend(), [](const Char& c) { return !c.space; }).base();
        std::size_t leadBytes = 0;
        for (auto c = chars.begin(); c != first; ++c)
            leadBytes += c->bytes.size();
        const bool hasKanji = std::any_of(first, last, [](const Char& c) { return c.wide; });
        const bool hasAnk = std::any_of(first, last, [](const Char& c) { return !c.wide; });

        // Half an em is size * dpi / 144 dots: a byte's share of the layout's cell.
        const long points = std::max(d.size, 1);
        auto halfEms = [&](std::size_t bytes) {
            return static_cast<int>(static_cast<long>(bytes) * points * set.dpi / 144);
        };
        TextPlan plan;
        plan.cellX = d.x;
        plan.cellY = d.y;
        plan.font = d.font;
        plan.cellWidth = halfEms(d.text.size());
        plan.cellHeight = glyphs.LineHeight(d.font, static_cast<int>(points), set.dpi);

        const int kanjiDots = static_cast<int>(points * set.dpi / 72);
        const int ankDots = static_cast<int>(points * set.dpi / 144);
        Fit best{};
        for (std::size_t s = 0; s < set.sizes.size(); ++s) {
            Fit f = FitAt(set, s, hasKanji, hasAnk, kanjiDots, ankDots, plan.cellHeight,
                          static_cast<int>(points * set.dpi));
            // The normal size stands until a size that fits comes; it stays when none does.
            if (s == 0 || (f.fits && (!best.fits || f.distance < best.distance))) best = f;
        }
        plan.size = best.size;
        plan.pitch = best.pitch;
        plan.ankSpacing = best.ankSpacing;
        plan.kanjiSpacing = best.kanjiSpacing;
        plan.fits = best.fits;

        const CharSize& size = set.sizes[best.size];
        const int height = set.cellHeight * size.scaleY;
        std::int32_t x = std::max<std::int32_t>(0, d.x + halfEms(leadBytes));
        const std::int32_t y = std::max<std::int32_t>(0, d.y);
        plan.row = y + height - set.cellHeight;
        for (auto c = first; c != last; ++c) {
            const int width = c->wide ? best.kanjiPitch : best.ankPitch;
            if (x + width > page.width || y + height > page.length) {
                plan.clipped = true;
                break;
            }
            Strike s{x, y, width, height, c->kind, c->bytes, c->jis, {}};
            if (s.kind == StrikeKind::Bitmap) s.bitmap = glyphs.Glyph(d.font, c->bytes, width, height);
            plan.strikes.push_back(std::move(s));
            x += width;
        }
        if (!plan.strikes.empty()) plans.push_back(std::move(plan));
    }
    return plans;
}

} // namespace escp
