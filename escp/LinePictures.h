#pragma once
// Lines in text mode: the calibration page's outlines, crosshairs and rulers as pictures the head strikes
// in bands of its own height, placed by the same moves as the texts, so that an offset measured on them
// is the text mode's own.
#include "escp/CommandSet.h"
#include "escp/TextModePlan.h"
#include "print/SlipOutlines.h"

#include <vector>

namespace escp {

// The lines' dots (each line one dot wide, both ends included) in bands of the command set's cell
// height, each band starting at the first row with ink below the one before; one picture for each
// stretch of a band with ink, a few empty columns inside a stretch. Dots off the paper are left out.
std::vector<Strike> LinePictures(const std::vector<DotLine>& lines, PageDots page, const CommandSet& set);

} // namespace escp
