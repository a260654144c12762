#include "escp/TextModeRenderer.h"

#include "escp/LinePictures.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace escp {
namespace {

// A stretch of one pass: a text on its row, or one band of a tall text's picture above that row.
struct Piece {
    std::int32_t row = 0, x = 0;
    const TextPlan* text = nullptr;
    const Strike* band = nullptr;
    int bandIndex = 0;
};

bool BandHasInk(const Strike& s, int band, int bandHeight) {
    const GlyphBitmap& b = s.bitmap;
    for (int y = band * bandHeight; y < std::min(b.height, (band + 1) * bandHeight); ++y)
        for (int x = 0; x < b.width; ++x)
            if (b.Ink(x, y)) return true;
    return false;
}

// The line spacing and the number of lines whose product comes nearest the page's length: exactly,
// for any length the paper sizes have.
std::pair<int, int> PageLength(const CommandSet& set, int length) {
    std::pair<int, int> best{1, 1};
    int bestError = INT_MAX;
    for (int spacing = set.lineSpacing.max; spacing >= 1; --spacing) {
        const int lines = std::clamp((length + spacing / 2) / spacing, 1, set.pageLengthLines.max);
        const int error = std::abs(lines * spacing - length);
        if (error < bestError) {
            best = {spacing, lines};
            bestError = error;
        }
    }
    return best;
}

class Writer {
public:
    explicit Writer(const CommandSet& set) : set_(set) {}

    std::string out;

    void Feed(int dots) {
        for (; dots > 0; dots -= set_.feed.max)
            out += Encode(set_.feed, std::min(dots, set_.feed.max));
    }

    void CarriageReturn() {
        out += set_.carriageReturn;
        x_ = 0;
    }

    std::int32_t X() const { return x_; }

    // Only ever to the right within a pass: by the coarse absolute unit where that lands on or after
    // the head, the rest by the fine relative move.
    void MoveTo(std::int32_t x) {
        const int unit = set_.absoluteUnit;
        if (x - x_ >= unit && x / unit * unit >= x_) {
            out += Encode(set_.absolute, x / unit);
            x_ = x / unit * unit;
        }
        if (x != x_) out += Encode(set_.relative, x - x_);
        x_ = x;
    }

    void Text(const TextPlan& t) {
        if (size_ != static_cast<int>(t.size)) {
            out += set_.sizes[t.size].ank;
            out += set_.sizes[t.size].kanji;
            size_ = static_cast<int>(t.size);
        }
        const int lowestBand = set_.sizes[t.size].scaleY - 1;
        for (const Strike& s : t.strikes) {
            switch (s.kind) {
            case StrikeKind::Ank:
                KanjiMode(false);
                if (pitch_ != static_cast<int>(t.pitch)) {
                    out += set_.ankPitches[t.pitch].select;
                    pitch_ = static_cast<int>(t.pitch);
                }
                if (ankSpacing_ != t.ankSpacing) {
                    out += Encode(set_.ankSpacing, t.ankSpacing);
                    ankSpacing_ = t.ankSpacing;
                }
                out += s.ch;
                break;
            case StrikeKind::Kanji:
                if (kanjiSpacing_ != t.kanjiSpacing) {
                    out += Encode(set_.kanjiSpacing, 0, t.kanjiSpacing);
                    kanjiSpacing_ = t.kanjiSpacing;
                }
                KanjiMode(true);
                out += static_cast<char>(s.jis >> 8);
                out += static_cast<char>(s.jis & 0xFF);
                break;
            case StrikeKind::Bitmap:
                KanjiMode(false);
                Band(s, lowestBand);
                break;
            }
            x_ = s.x + s.width;
        }
        KanjiMode(false);
    }

    void Band(const Strike& s, int band) {
        const int h = set_.cellHeight;
        if (!BandHasInk(s, band, h)) { // nothing to strike: pass over it
            out += Encode(set_.relative, s.width);
            return;
        }
        out += Encode(set_.bitmap, s.width);
        for (int x = 0; x < s.width; ++x) {
            for (int top = 0; top < h; top += 8) {
                unsigned char column = 0;
                for (int bit = 0; bit < 8; ++bit) {
                    const int y = band * h + top + bit;
                    if (x < s.bitmap.width && y < s.bitmap.height && s.bitmap.Ink(x, y))
                        column |= 0x80 >> bit;
                }
                out += static_cast<char>(column);
            }
        }
        x_ = s.x + s.width;
    }

private:
    void KanjiMode(bool on) {
        if (kanji_ == on) return;
        out += on ? set_.kanjiIn : set_.kanjiOut;
        kanji_ = on;
    }

    const CommandSet& set_;
    std::int32_t x_ = 0;
    // What the printer is set to; -1 until this job sets it, since the panel's settings stand after
    // the reset.
    int size_ = -1, pitch_ = -1, ankSpacing_ = -1, kanjiSpacing_ = -1;
    bool kanji_ = false;
};

} // namespace

std::string EncodeTextMode(const std::vector<TextPlan>& texts, const std::vector<Strike>& pictures,
                           PageDots page, const CommandSet& set, int& passes) {
    Writer w(set);
    w.out += set.initialise;
    const auto [spacing, lines] = PageLength(set, page.length);
    w.out += Encode(set.lineSpacing, spacing);
    w.out += Encode(set.pageLengthLines, lines);

    std::vector<Piece> pieces;
    for (const TextPlan& t : texts) {
        pieces.push_back({t.row, t.strikes.front().x, &t});
        for (int band = 0; band + 1 < set.sizes[t.size].scaleY; ++band)
            for (const Strike& s : t.strikes)
                if (s.kind == StrikeKind::Bitmap && BandHasInk(s, band, set.cellHeight))
                    pieces.push_back({s.y + band * set.cellHeight, s.x, nullptr, &s, band});
    }
    for (const Strike& s : pictures)
        pieces.push_back({s.y, s.x, nullptr, &s, 0});
    std::stable_sort(pieces.begin(), pieces.end(), [](const Piece& a, const Piece& b) {
        return a.row != b.row ? a.row < b.row : a.x < b.x;
    });

    passes = 0;
    std::int32_t y = 0;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const Piece& p = pieces[i];
        if (i == 0 || p.row != y) {
            if (i > 0) {
                w.CarriageReturn();
                ++passes;
            }
            w.Feed(p.row - y);
            y = p.row;
        } else if (p.x < w.X()) { // overlaps what this pass strikes already: a pass of its own
            w.CarriageReturn();
            ++passes;
        }
        w.MoveTo(p.x);
        if (p.text)
            w.Text(*p.text);
        else
            w.Band(*p.band, p.bandIndex);
    }
    if (!pieces.empty()) {
        w.CarriageReturn();
        ++passes;
    }
    w.out += set.formFeed;
    return std::move(w.out);
}

TextModeJob RenderTextMode(const std::vector<SlipDraw>& draws, PageDots page, GlyphSource& glyphs,
                           const CommandSet& set) {
    TextModeJob job;
    job.texts = PlanTexts(draws, page, set, glyphs);
    job.bytes = EncodeTextMode(job.texts, job.pictures, page, set, job.passes);
    return job;
}

TextModeJob RenderTestPage(const TestPage& testPage, PageDots page, GlyphSource& glyphs,
                           const CommandSet& set) {
    TextModeJob job;
    job.texts = PlanTexts(testPage.labels, page, set, glyphs);
    job.pictures = LinePictures(testPage.lines, page, set);
    job.bytes = EncodeTextMode(job.texts, job.pictures, page, set, job.passes);
    return job;
}

PageDots PageDotsOf(const PageGeometry& paper, const CommandSet& set) {
    return {static_cast<int>(std::lround(paper.width * set.dpi / 72)),
            static_cast<int>(std::lround(paper.length * set.dpi / 72))};
}

} // namespace escp
