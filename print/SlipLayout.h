#pragma once
// The slip's variable text: where every item of a filled slip goes on the pre-printed form, in device
// dots, in drawing order. Pure: the fields come in as text, the draws go out as records.
#include "slip/SlipRecord.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The main window's captions that place the page: the effective resolution, and the print-position
// margins in device dots (empty counts as 0). Texts are CP932.
struct LayoutCaptions {
    std::string dpix, dpiy;
    std::string prnTop, prnLeft;
};

struct SlipDraw {
    std::string text;          // CP932; may be empty (a box past the end of its field)
    std::string font;          // CP932 face name as the form names it
    int size = 0;              // points
    std::int32_t x = 0, y = 0; // top-left of the text cell, device dots from the printable corner
};

// Raises EConvertError "'%s' is not a valid integer value" for a resolution or a non-empty margin
// caption that is not an integer, before producing anything.
std::vector<SlipDraw> LayoutSlip(const LayoutCaptions& captions, const slip::Record& slip);

// Three bytes: `text` trimmed, right-aligned with blanks, only its last three bytes when longer.
std::string RightAlign3(std::string_view text);

// The tax as printed: whole yen with "," grouping, right-aligned in 12 characters.
std::string FormatTaxField(std::int64_t amount10000);

// Layout units are 1/160 inch; the scale is dots per inch / 160 in steps of 1/10000, a half going to
// the even neighbour.
std::int64_t ScaleFromDpi(std::int32_t dpi);

// Device position of a layout position: scale times position, rounded half away from zero, plus margin.
std::int32_t PlaceLayoutUnit(std::int64_t scale, std::int32_t position, std::int32_t margin);

// Where layout units land on the page: the scales from the resolution captions, the margins from the
// margin captions. The slip's texts, its box outlines and the test page are all placed with it.
struct SlipPlacement {
    std::int64_t sx = 0, sy = 0;
    std::int32_t left = 0, top = 0;
    std::int32_t X(std::int32_t units) const { return PlaceLayoutUnit(sx, units, left); }
    std::int32_t Y(std::int32_t units) const { return PlaceLayoutUnit(sy, units, top); }
};

// Raises EConvertError as LayoutSlip does.
SlipPlacement PlacementOf(const LayoutCaptions& captions);
