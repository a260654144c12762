// The calibration page: rulers in true millimetres and crosshairs on the reference boxes, moved by the
// margins as the slip is.
#include "platform/RuntimeErrors.h"
#include "print/TestPage.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

LayoutCaptions Captions(const char* top, const char* left) {
    LayoutCaptions f;
    f.dpix = f.dpiy = "360";
    f.prnTop = top;
    f.prnLeft = left;
    return f;
}

bool Has(const TestPage& page, DotLine l) {
    return std::any_of(page.lines.begin(), page.lines.end(), [&](const DotLine& m) {
        return m.x0 == l.x0 && m.y0 == l.y0 && m.x1 == l.x1 && m.y1 == l.y1;
    });
}

TEST(TestPage, RulersCountMillimetresFromTheMargins) {
    const TestPage page = LayoutTestPage(Captions("12", "-5"));
    // At 360 dpi 10 mm is 141.7 dots, the tenth tick 3 mm (42.5 dots) long; a first-millimetre tick 1 mm.
    EXPECT_TRUE(Has(page, {-5 + 142, 12, -5 + 142, 12 + 43}));
    EXPECT_TRUE(Has(page, {-5 + 14, 12, -5 + 14, 12 + 14}));
    EXPECT_TRUE(Has(page, {-5, 12 + 142, -5 + 43, 12 + 142}));
    const auto ten =
        std::find_if(page.labels.begin(), page.labels.end(), [](auto& d) { return d.text == "10"; });
    ASSERT_NE(ten, page.labels.end());
    EXPECT_EQ(ten->x, -5 + 142 + 6); // 0.4 mm past the tick
    EXPECT_EQ(ten->y, 12 + 17);      // 1.2 mm down, below the short ticks
}

TEST(TestPage, CrosshairsCrossAtTheReferenceBoxesCentres) {
    const TestPage page = LayoutTestPage(Captions("12", "-5"));
    const SlipPlacement at = PlacementOf(Captions("12", "-5"));
    const std::vector<SlipBox> refs = ReferenceBoxes();
    ASSERT_EQ(refs.size(), 3u);
    for (const SlipBox& b : refs) {
        const int cx = at.X(b.x + b.width / 2), cy = at.Y(b.y + b.height / 2);
        const bool across = std::any_of(page.lines.begin(), page.lines.end(), [&](const DotLine& l) {
            return l.y0 == cy && l.y1 == cy && l.x0 < at.X(b.x) && l.x1 > at.X(b.x + b.width);
        });
        const bool down = std::any_of(page.lines.begin(), page.lines.end(), [&](const DotLine& l) {
            return l.x0 == cx && l.x1 == cx && l.y0 < at.Y(b.y) && l.y1 > at.Y(b.y + b.height);
        });
        EXPECT_TRUE(across && down) << "box at " << b.x << ", " << b.y;
    }
    // The first postcode box's centre: layout (206, 46) at 2.25 dots a unit, plus the margins.
    EXPECT_EQ(at.X(refs[0].x + refs[0].width / 2), 464 - 5);
}

TEST(TestPage, BadMarginRaisesBeforeAnythingIsLaidOut) {
    EXPECT_THROW(LayoutTestPage(Captions("1.5", "0")), EConvertError);
}

} // namespace
