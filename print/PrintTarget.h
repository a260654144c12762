#pragma once
// What F11 would print on at this moment, as the preview and the test page show it: the current
// printer, its paper, source and effective resolution, and its page. When the slip type's printer is
// missing, the slip type's nominal paper stands in and a line says which printer is missing.
#include "print/PrinterRegistration.h"
#include "printer/PlatformPrinter.h"

#include <cstdint>
#include <optional>
#include <string>

class THqPrinter;

struct PrintTarget {
    std::string printer, paper, source; // CP932 names; empty where the printer names none
    std::int32_t dpix = 0, dpiy = 0;    // effective resolution
    PageGeometry page;
    std::string missing; // CP932; empty when the page is the printer's own
};

// Resolution assumed when no printer answers: the usual 24-pin default.
inline constexpr std::int32_t kNominalDpi = 180;

// The slip stock's own size: 10 x 4 inches for the continuous form, 9 x 5.5 inches for hand-fed.
PageGeometry NominalPaper(const std::string& slipType);

// `registration`: the slip type's section of tavo_a500.ini, nullopt when there is none;
// `indexInForce`: the printer index the main window made current (Label_PrinterIndex). Never raises
// the printer's errors: they become the missing line.
PrintTarget CurrentPrintTarget(THqPrinter& printer, const std::string& slipType,
                               const std::optional<PrinterRegistration>& registration,
                               const std::string& indexInForce);
