#include "print/MillimetreOffset.h"

#include "platform/Cp932.h"
#include "platform/RuntimeErrors.h"

#include <limits>

namespace {

// An inch is 25.4 mm: 254000 in the 1/10000 mm that Currency counts.
constexpr std::int64_t kInch = 254000;

std::int64_t DivideRounded(__int128 n, std::int64_t d) {
    __int128 q = (n < 0 ? -n : n) * 2 + d;
    q /= 2 * d;
    return static_cast<std::int64_t>(n < 0 ? -q : q);
}

[[noreturn]] void NotANumber(const std::string& text) {
    throw EConvertError("'" + text + "' is not a valid floating point value");
}

} // namespace

std::int64_t MillimetresToDots(Currency millimetres, std::int32_t dpi) {
    return DivideRounded(static_cast<__int128>(millimetres) * dpi, kInch);
}

std::string ShiftMargin(const std::string& marginCaption, const std::string& millimetres, std::int32_t dpi) {
    const std::int64_t margin = marginCaption.empty() ? 0 : StrToInt(marginCaption);
    std::int64_t dots = 0;
    if (!cp932::PlainTrim(millimetres).empty()) {
        std::optional<Currency> mm = TryStrToCurr(millimetres);
        if (!mm) NotANumber(millimetres);
        dots = MillimetresToDots(*mm, dpi);
        if (dots > std::numeric_limits<std::int32_t>::max() ||
            dots < std::numeric_limits<std::int32_t>::min())
            NotANumber(millimetres);
    }
    const std::int64_t shifted = margin + dots;
    if (shifted > std::numeric_limits<std::int32_t>::max() ||
        shifted < std::numeric_limits<std::int32_t>::min())
        throw EConvertError("'" + std::to_string(shifted) + "' is not a valid integer value");
    return IntToStr(shifted);
}

std::string DotPitchText(std::int32_t dpi) {
    if (dpi <= 0) return "-";
    const std::int64_t thousandths = DivideRounded(25400, dpi);
    std::string frac = std::to_string(thousandths % 1000);
    return std::to_string(thousandths / 1000) + "." + std::string(3 - frac.size(), '0') + frac;
}
