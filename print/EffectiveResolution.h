#pragma once
// The resolution the slip is laid out at: the device's dots per inch corrected by the driver's scale.
#include "printer/PlatformPrinter.h"

#include <cstdint>

class THqPrinter;

// dpi * 100 / scale, truncated toward zero. A driver that reports a scale of 0 is taken as 100, so
// the layout never divides by zero.
std::int32_t EffectiveResolution(std::int32_t dpi, std::uint16_t scale);

// The current printer's effective resolution, asked for as the print job asks: resolution and scale
// for X, then both again for Y. Raises the printer object's errors.
TPoint EffectiveResolutionOf(THqPrinter& printer);
