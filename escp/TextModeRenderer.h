#pragma once
// A slip in text mode: the layout's draws as the byte stream a dot-matrix printer prints with its own
// characters. One pass of the head for each printed row, top to bottom, the paper only ever fed
// forward; the form fed out at the end by the page length set at the start.
#include "escp/CommandSet.h"
#include "escp/GlyphSource.h"
#include "escp/TextModePlan.h"
#include "print/SlipLayout.h"
#include "print/TestPage.h"
#include "printer/PlatformPrinter.h"

#include <string>
#include <vector>

namespace escp {

struct TextModeJob {
    std::string bytes;            // what the printer is sent, nothing more
    int passes = 0;               // head passes: one for each printed row (more only where texts overlap)
    std::vector<TextPlan> texts;  // what is struck where
    std::vector<Strike> pictures; // what is struck besides the texts: the test page's lines
};

// `draws` in dots of the command set's resolution (LayoutSlip at 180 dpi for ESC/P), `page` the
// paper's size in those dots (both above 0).
TextModeJob RenderTextMode(const std::vector<SlipDraw>& draws, PageDots page, GlyphSource& glyphs,
                           const CommandSet& set = kEscpKanji24);

// The calibration page in text mode: its labels in the printer's characters as a slip's texts, its
// lines as pictures (LinePictures), struck in the same passes from the top down.
TextModeJob RenderTestPage(const TestPage& testPage, PageDots page, GlyphSource& glyphs,
                           const CommandSet& set = kEscpKanji24);

// The bytes of planned texts and pictures; `passes` counts the head passes.
std::string EncodeTextMode(const std::vector<TextPlan>& texts, const std::vector<Strike>& pictures,
                           PageDots page, const CommandSet& set, int& passes);

// A paper in points as dots of the command set, to the nearest dot.
PageDots PageDotsOf(const PageGeometry& paper, const CommandSet& set = kEscpKanji24);

} // namespace escp
