#include "print/SlipOutlines.h"

#include <initializer_list>

namespace {

// A row of equal boxes at one height; each box starts two units left of and above its text.
struct BoxRow {
    std::initializer_list<std::int32_t> textX;
    std::int32_t textY, width, height;
};

// The form's boxes by the texts they hold, in the layout's order. Heights are the face's cell at the
// item's size plus a little air; widths the pitch of the box rows or the room the form gives a line.
const BoxRow kRows[] = {
    {{186, 233, 280, 348, 396, 442, 489}, 30, 45, 36},                                // consignee postcode
    {{550}, 486, 55, 29},                                                             // year
    {{624, 674}, 486, 30, 29},                                                        // month, day
    {{576, 602, 628}, 65, 24, 34},                                                    // pieces
    {{625, 657, 689, 721, 753, 785, 817}, 330, 30, 38},                               // amount
    {{860}, 336, 135, 28},                                                            // tax
    {{700, 820, 940}, 240, 40, 45},                                                   // payment marks
    {{120}, 100, 430, 35},                                                            // consignee address
    {{120}, 150, 430, 35},                                                            //
    {{120}, 200, 430, 35},                                                            //
    {{556}, 150, 400, 29},                                                            // goods
    {{556}, 180, 400, 29},                                                            //
    {{556}, 210, 400, 29},                                                            //
    {{140}, 250, 400, 35},                                                            // consignee name
    {{163, 191, 221, 250, 279, 308, 338, 368, 397, 426, 456, 484, 514}, 288, 27, 39}, // telephone
    {{210}, 340, 46, 31},                                                             // sender postcode
    {{292}, 340, 60, 31},                                                             //
    {{130}, 382, 400, 30},                                                            // sender address
    {{130}, 426, 400, 30},                                                            //
    {{140}, 484, 380, 30},                                                            // sender name
    {{195}, 526, 220, 36},                                                            // sender telephone
};

std::vector<SlipBox> AllBoxes() {
    std::vector<SlipBox> boxes;
    for (const BoxRow& row : kRows)
        for (std::int32_t x : row.textX)
            boxes.push_back({x - 2, row.textY - 2, row.width, row.height});
    return boxes;
}

} // namespace

const std::vector<SlipBox>& SlipBoxes() {
    static const std::vector<SlipBox> boxes = AllBoxes();
    return boxes;
}

std::vector<SlipBox> ReferenceBoxes() {
    const std::vector<SlipBox>& all = SlipBoxes();
    auto at = [&](std::int32_t textX, std::int32_t textY) {
        for (const SlipBox& b : all)
            if (b.x == textX - 2 && b.y == textY - 2) return b;
        return SlipBox{};
    };
    return {at(186, 30), at(817, 330), at(195, 526)};
}

std::vector<DotLine> OutlineOf(const SlipPlacement& at, const SlipBox& box) {
    const std::int32_t left = at.X(box.x), top = at.Y(box.y);
    const std::int32_t right = at.X(box.x + box.width), bottom = at.Y(box.y + box.height);
    return {{left, top, right, top},
            {right, top, right, bottom},
            {right, bottom, left, bottom},
            {left, bottom, left, top}};
}

std::vector<DotLine> SlipOutlines(const SlipPlacement& at) {
    std::vector<DotLine> lines;
    for (const SlipBox& box : SlipBoxes())
        for (const DotLine& side : OutlineOf(at, box))
            lines.push_back(side);
    return lines;
}

void DrawLines(HqCanvas& canvas, const std::vector<DotLine>& lines, TColor color) {
    canvas.SetPenColor(color);
    for (const DotLine& l : lines)
        canvas.Line(l.x0, l.y0, l.x1, l.y1);
}
