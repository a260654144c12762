#pragma once
// Where a text-mode job lands: the paper it is laid out on and the dots it counts in. The head's moves
// count from the paper's corner, not from a driver's printable area, and every position is in the
// command set's dots whatever resolution the queue's driver has.
#include "escp/CommandSet.h"
#include "print/PrintTarget.h"
#include "printer/PrintMode.h"

#include <string>

class THqPrinter;

namespace escp {

// The current printer's paper where it names a size (on a queue that takes free sizes, the slip
// stock's own); the stock's own (NominalPaper) where the printer's own setting is in force or it has
// no paper list. Never raises the printer's errors.
PageGeometry TextModePaper(THqPrinter& printer, const std::string& slipType);

// What F11 prints on in text mode: `target` (CurrentPrintTarget) at the command set's resolution, on
// TextModePaper where the page is the printer's own.
PrintTarget TextModeTarget(PrintTarget target, THqPrinter& printer, const std::string& slipType,
                           const CommandSet& set = kEscpKanji24);

// The dots a slip's positions and margins count in: the command set's in text mode, the printer's
// effective resolution (EffectiveResolutionOf) in graphics.
TPoint ModeResolution(PrintMode mode, THqPrinter& printer, const CommandSet& set = kEscpKanji24);

} // namespace escp
