#pragma once
// What the user changed on a slip that something else filled: the history notes it beside the order a
// slip was printed from, so that a corrected name or a changed amount can be found again.
#include "slip/SlipRecord.h"

#include <string>
#include <vector>

namespace slip {

// The names of the fields `by` fills (Source bits) whose values differ between `filled` (the slip as it
// was filled) and `now`, in the order of kFields. Fields it does not fill (the sender, the date, the tax
// that follows the amount) are never listed.
std::vector<std::string> ChangedFields(const Record& filled, const Record& now, unsigned by);

} // namespace slip
