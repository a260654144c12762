#pragma once
// A full sample slip, every field filled: the picture in the docs, the layout and print tests and the
// benchmarks all start from it. The slip stock is left empty, for the caller to choose.
#include "slip/SlipRecord.h"

namespace slip {

Record SampleSlip();

} // namespace slip
