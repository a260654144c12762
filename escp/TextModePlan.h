#pragma once
// Where and how the printer strikes each text of a slip in text mode: the character size and pitches
// for each text, then every character's box, in the printer's own characters where it has them and as
// a small picture where it has not. The byte stream (TextModeRenderer) and the text-mode preview both
// come from this plan.
#include "escp/CommandSet.h"
#include "escp/GlyphSource.h"
#include "print/SlipLayout.h"

#include <cstdint>
#include <string>
#include <vector>

namespace escp {

enum class StrikeKind : std::uint8_t {
    Ank,    // a letter-quality alphanumeric, sent as its byte
    Kanji,  // a JIS X 0208 character, sent in kanji mode as its JIS code
    Bitmap, // a character the printer lacks, sent as a picture
};

// One character as the head strikes it.
struct Strike {
    std::int32_t x = 0, y = 0; // top-left of its box, dots from the printable corner
    int width = 0, height = 0; // the box: its pitch across, the character's height down
    StrikeKind kind = StrikeKind::Ank;
    std::string ch;        // the CP932 character
    std::uint16_t jis = 0; // kanji: its JIS X 0208 code
    GlyphBitmap bitmap;    // bitmap: its picture, `width` x `height`
};

// The paper in dots of the command set's resolution.
struct PageDots {
    int width = 0, length = 0;
};

// One text of the layout as the printer prints it.
struct TextPlan {
    // The layout's cell: from the draw's corner, half an em across for each byte of the text (the
    // layout sizes its texts by their bytes) and the face's ascent plus descent down.
    std::int32_t cellX = 0, cellY = 0;
    int cellWidth = 0, cellHeight = 0;

    std::string font;      // the layout's face (CP932): the pictures' and the preview's
    std::size_t size = 0;  // in the command set's sizes
    std::size_t pitch = 0; // in its alphanumeric pitches
    int ankSpacing = 0;    // the alphanumeric and kanji spacing as their commands carry them
    int kanjiSpacing = 0;
    bool fits = true;            // false: even the printer's smallest characters overrun the cell
    bool clipped = false;        // characters past the paper's right or bottom edge were left out
    std::int32_t row = 0;        // the pass that strikes the text: the top of its lowest band
    std::vector<Strike> strikes; // left to right, one after the other
};

// The texts that strike anything, in drawing order. Each starts where its first character other than
// a space starts in the layout's cell (rounded down to a dot), and runs at the printer's pitches to at
// most the cell's end. The size is the one of the set nearest the layout's font size whose characters
// stay inside the cell; when none does, the normal size at the narrowest pitch. A text left of or
// above the paper moves onto it; characters past its right or bottom edge are left out, so that
// nothing wraps onto the next line or the next form.
std::vector<TextPlan> PlanTexts(const std::vector<SlipDraw>& draws, PageDots page, const CommandSet& set,
                                GlyphSource& glyphs);

} // namespace escp
