#pragma once
// The stack counter of a slip type as the windows use it: read afresh from the registration file in the
// working folder every time (the file is the one truth between the main window, the print-position
// dialog and the history window), each change one atomic replacement of the file.
#include "tracking/StackCounter.h"

#include <string>

// `dir`: the working folder (a file-system path); `slipType`: the slip type's text (CP932).
tracking::StoredSlipCounter ReadSlipCounter(const std::string& dir, const std::string& slipType);

// Sets the counter to `number`, checked and folded (tracking::WriteNextSlipNo; "" clears it), and saves
// the file. ESlipCounter for a number a stack cannot run on, EInOutError when the file cannot be
// written; either way the file is as it was.
void SaveSlipCounter(const std::string& dir, const std::string& slipType, const std::string& number);
