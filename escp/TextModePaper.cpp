#include "escp/TextModePaper.h"

#include "print/EffectiveResolution.h"
#include "printer/HqPrinter.h"

namespace escp {

PageGeometry TextModePaper(THqPrinter& printer, const std::string& slipType) {
    try {
        if (printer.GetPaperSizeNumber() != kPrinterDefaultEntry) {
            const PageGeometry page = printer.GetPageGeometry();
            if (page.width > 0 && page.length > 0) return {page.width, page.length, 0, 0};
        }
    } catch (const EHqPrinter&) {
        // No paper to go by: the stock's own.
    }
    return NominalPaper(slipType);
}

PrintTarget TextModeTarget(PrintTarget target, THqPrinter& printer, const std::string& slipType,
                           const CommandSet& set) {
    target.dpix = target.dpiy = set.dpi;
    if (target.missing.empty()) target.page = TextModePaper(printer, slipType);
    return target;
}

TPoint ModeResolution(PrintMode mode, THqPrinter& printer, const CommandSet& set) {
    if (mode == PrintMode::Text) return {set.dpi, set.dpi};
    return EffectiveResolutionOf(printer);
}

} // namespace escp
