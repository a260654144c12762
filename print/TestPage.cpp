#include "print/TestPage.h"

#include "platform/Conversions.h"
#include "platform/Cp932Codec.h"
#include "print/MillimetreOffset.h"
#include "print/SlipCanvas.h"
#include "printer/DesignFonts.h"

#include <algorithm>

namespace {

constexpr Currency kMm = kCurrencyScale; // one millimetre in Currency's 1/10000

// Ruler ticks reach 1 mm from the edge, 2 mm every fifth millimetre, 3 mm every tenth, which carries
// its number just past it, beyond the short ticks' reach; all of it stays within 4 mm of the edge,
// clear of the form's boxes.
Currency TickLength(int mm) {
    return mm % 10 == 0 ? 3 * kMm : mm % 5 == 0 ? 2 * kMm : kMm;
}
constexpr Currency kBeside = 4 * kMm / 10;          // 0.4 mm
constexpr Currency kPastShortTicks = 12 * kMm / 10; // 1.2 mm

constexpr int kLabelSize = 6; // points
constexpr int kHeadingSize = 10;

// The rulers run 10 mm past the farthest box, to a whole centimetre.
int RulerMillimetres(std::int32_t layoutUnits) {
    const int mm = static_cast<int>((static_cast<std::int64_t>(layoutUnits) * 254 + 1599) / 1600);
    return (mm / 10 + 2) * 10;
}

std::int32_t Dots(Currency mm, std::int32_t dpi) {
    return static_cast<std::int32_t>(MillimetresToDots(mm, dpi));
}

} // namespace

TestPage LayoutTestPage(const LayoutCaptions& f) {
    const SlipPlacement at = PlacementOf(f);
    const std::int32_t dpix = StrToInt(f.dpix), dpiy = StrToInt(f.dpiy);
    TestPage page;
    page.lines = SlipOutlines(at);

    // Crosshairs through the reference boxes' centres, reaching 3 mm beyond each side.
    for (const SlipBox& box : ReferenceBoxes()) {
        const std::int32_t cx = at.X(box.x + box.width / 2), cy = at.Y(box.y + box.height / 2);
        const std::int32_t armX = (at.X(box.x + box.width) - at.X(box.x)) / 2 + Dots(3 * kMm, dpix);
        const std::int32_t armY = (at.Y(box.y + box.height) - at.Y(box.y)) / 2 + Dots(3 * kMm, dpiy);
        page.lines.push_back({cx - armX, cy, cx + armX, cy});
        page.lines.push_back({cx, cy - armY, cx, cy + armY});
    }

    std::int32_t right = 0, bottom = 0;
    for (const SlipBox& box : SlipBoxes()) {
        right = std::max(right, box.x + box.width);
        bottom = std::max(bottom, box.y + box.height);
    }
    const std::string sans = design_font::kLucida;
    const int across = RulerMillimetres(right), down = RulerMillimetres(bottom);
    const std::int32_t x0 = at.X(0), y0 = at.Y(0);
    page.lines.push_back({x0, y0, x0 + Dots(across * kMm, dpix), y0});
    page.lines.push_back({x0, y0, x0, y0 + Dots(down * kMm, dpiy)});
    for (int mm = 1; mm <= across; ++mm) {
        const std::int32_t x = x0 + Dots(mm * kMm, dpix);
        page.lines.push_back({x, y0, x, y0 + Dots(TickLength(mm), dpiy)});
        if (mm % 10 == 0)
            page.labels.push_back({std::to_string(mm), sans, kLabelSize, x + Dots(kBeside, dpix),
                                   y0 + Dots(kPastShortTicks, dpiy)});
    }
    for (int mm = 1; mm <= down; ++mm) {
        const std::int32_t y = y0 + Dots(mm * kMm, dpiy);
        page.lines.push_back({x0, y, x0 + Dots(TickLength(mm), dpix), y});
        if (mm % 10 == 0)
            page.labels.push_back({std::to_string(mm), sans, kLabelSize, x0 + Dots(kPastShortTicks, dpix),
                                   y + Dots(kBeside, dpiy)});
    }

    // What the page was printed with, in a corner the form leaves free.
    const std::string heading = cp932::FromUtf8("試し印字  ") + f.dpix + "x" + f.dpiy +
                                cp932::FromUtf8("dpi  上 ") + IntToStr(at.top) + cp932::FromUtf8("  左 ") +
                                IntToStr(at.left);
    page.labels.push_back(
        {heading, cp932::FromUtf8(design_font::kPMincho), kHeadingSize, at.X(560), at.Y(400)});
    return page;
}

void DrawTestPage(HqCanvas& canvas, const TestPage& page) {
    DrawLines(canvas, page.lines, clBlack);
    DrawSlip(canvas, page.labels);
}
