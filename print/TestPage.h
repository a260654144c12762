#pragma once
// The calibration page: the outlines of the slip's boxes, crosshairs through three reference boxes,
// and millimetre rulers along the top and left edges, all placed as the slip's texts are. Printed on a
// slip form, it shows how far the printer puts the text from the form's boxes.
#include "print/SlipLayout.h"
#include "print/SlipOutlines.h"
#include "printer/HqCanvas.h"

#include <vector>

struct TestPage {
    std::vector<DotLine> lines;   // outlines, crosshairs, ruler and ticks
    std::vector<SlipDraw> labels; // the rulers' numbers and the page's heading
};

// From the resolution and margin captions. Raises
// EConvertError as LayoutSlip does, before producing anything.
TestPage LayoutTestPage(const LayoutCaptions& captions);

// Black lines, then the labels as the slip draws its texts.
void DrawTestPage(HqCanvas& canvas, const TestPage& page);
