#include "print/EffectiveResolution.h"

std::int32_t EffectiveResolution(std::int32_t dpi, std::uint16_t scale) {
    if (scale == 0) scale = 100;
    return static_cast<std::int32_t>(std::int64_t{dpi} * 100 / scale);
}
