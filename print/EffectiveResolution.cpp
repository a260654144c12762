#include "print/EffectiveResolution.h"

#include "printer/HqPrinter.h"

std::int32_t EffectiveResolution(std::int32_t dpi, std::uint16_t scale) {
    if (scale == 0) scale = 100;
    return static_cast<std::int32_t>(std::int64_t{dpi} * 100 / scale);
}

TPoint EffectiveResolutionOf(THqPrinter& printer) {
    TPoint dpi;
    printer.GetResolution(dpi);
    const std::int32_t x = EffectiveResolution(dpi.X, static_cast<std::uint16_t>(printer.GetScale()));
    printer.GetResolution(dpi);
    const std::int32_t y = EffectiveResolution(dpi.Y, static_cast<std::uint16_t>(printer.GetScale()));
    return {x, y};
}
