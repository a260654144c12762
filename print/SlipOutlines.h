#pragma once
// The boxes of the pre-printed slip that the variable text goes into, and their outlines on a page.
// The preview draws them under the slip, the test page prints them, docs/slip-layout.png shows them.
#include "print/SlipLayout.h"
#include "printer/HqCanvas.h"

#include <cstdint>
#include <vector>

// Layout units (1/160 inch) from the printable corner, like the layout's positions.
struct SlipBox {
    std::int32_t x = 0, y = 0, width = 0, height = 0;
};

// Every box of the form, in the layout's drawing order.
const std::vector<SlipBox>& SlipBoxes();

// Three boxes far apart that the test page marks with crosshairs: the first consignee postcode box
// (top left), the last amount box (right) and the sender telephone (bottom).
std::vector<SlipBox> ReferenceBoxes();

// A straight line between two dots, both included.
struct DotLine {
    std::int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// The box's four sides in device dots, placed as the slip's texts are (margins included).
std::vector<DotLine> OutlineOf(const SlipPlacement& at, const SlipBox& box);

// The four sides of every box.
std::vector<DotLine> SlipOutlines(const SlipPlacement& at);

// Draws the lines in `color`; the canvas keeps that pen colour afterwards.
void DrawLines(HqCanvas& canvas, const std::vector<DotLine>& lines, TColor color);
