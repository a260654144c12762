#pragma once
// A slip in text mode: the layout's draws as the byte stream a dot-matrix printer prints with its own
// characters. One pass of the head for each printed row, top to bottom, the paper only ever fed
// forward; the form fed out at the end by the page length set at the start.
#include "escp/CommandSet.h"
#include "escp/GlyphSource.h"
#include "escp/TextModePlan.h"
#include "print/SlipLayout.h"

#include <string>
#include <vector>

namespace escp {

struct TextModeJob {
    std::string bytes;           // what the printer is sent, nothing more
    int passes = 0;              // head passes: one for each printed row (more only where texts overlap)
    std::vector<TextPlan> texts; // what is struck where
};

// `draws` in dots of the command set's resolution (LayoutSlip at 180 dpi for ESC/P), `page` the
// paper's size in those dots (both above 0).
TextModeJob RenderTextMode(const std::vector<SlipDraw>& draws, PageDots page, GlyphSource& glyphs,
                           const CommandSet& set = kEscpKanji24);

// The bytes of planned texts; `passes` counts the head passes.
std::string EncodeTextMode(const std::vector<TextPlan>& texts, PageDots page, const CommandSet& set,
                           int& passes);

} // namespace escp
