#pragma once
// The full sample slip (slip::SampleSlip) in the main window, as the print tests read it back and the
// print benchmark sends it. The slip stock stays as it is.
#include "app/qt/form/SlipBinding.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "slip/SampleSlip.h"

inline void FillFullSlip(TForm_Main& w) {
    w.Slip().Write(slip::SampleSlip(), EveryField);
}
