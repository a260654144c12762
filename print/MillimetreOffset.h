#pragma once
// Offsets measured on a test page in millimetres, turned into the whole device dots the margins count.
#include "platform/Conversions.h"

#include <cstdint>
#include <string>

// `millimetres` (a count of 1/10000 mm) in dots at `dpi` dots per inch, rounded half away from zero.
std::int64_t MillimetresToDots(Currency millimetres, std::int32_t dpi);

// The margin caption moved by the millimetre text, as whole dots: what the margins are registered as.
// An empty margin counts as 0, an empty offset as no move. Raises EConvertError for a margin that is
// not an integer, an offset that is not a number, or a result beyond the integer range.
std::string ShiftMargin(const std::string& marginCaption, const std::string& millimetres, std::int32_t dpi);

// One dot's length at `dpi` in millimetres, three decimals: "0.071" at 360 dpi; "-" without a resolution.
std::string DotPitchText(std::int32_t dpi);
