#include "app/qt/print/Hq_d97Y_DotUnit.h"

#include "app/qt/common/SlipDesk.h"
#include "escp/TextModePaper.h"
#include "escp/TextModeRenderer.h"
#include "escp/qt/QtGlyphSource.h"
#include "print/SlipCanvas.h"
#include "printer/HqPrinter.h"
#include "printer/qt/HqPrinterDialogs.h"

THq_d97_Dot* Hq_d97_Dot = nullptr;

THq_d97_Dot::THq_d97_Dot(SlipDesk& desk) : desk_(desk) {
    setObjectName(QStringLiteral("Hq_d97_Dot"));
    HqPrintDialog1 = new THqPrintDialog(this);
    HqPrinterSetupDialog1 = new THqPrinterSetupDialog(this);
    Hq_d97_Dot = this;
}

THq_d97_Dot::~THq_d97_Dot() {
    if (Hq_d97_Dot == this) Hq_d97_Dot = nullptr;
}

void THq_d97_Dot::SLIP97_Prn() {
    // The whole layout is made before the first text, so a bad caption leaves the page untouched.
    std::vector<SlipDraw> draws = LayoutSlip(desk_.SlipCaptions(), desk_.SlipValues());
    DrawSlip(HqPrinter().GetCanvas(), draws);
}

std::string THq_d97_Dot::SLIP97_Text() {
    const std::vector<SlipDraw> draws = LayoutSlip(desk_.SlipCaptions(), desk_.SlipValues());
    const PageGeometry paper = escp::TextModePaper(HqPrinter(), desk_.StockName());
    QtGlyphSource glyphs;
    return escp::RenderTextMode(draws, escp::PageDotsOf(paper), glyphs).bytes;
}
