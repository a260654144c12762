// The print job: one slip, one page, one job on the current printer.
#include "app/qt/Hq_d97Y_DotUnit.h"
#include "app/qt/LimitedLineEdit.h"
#include "app/qt/MessageBoxes.h"
#include "app/qt/tavo_dprintUnit.h"
#include "platform/RuntimeErrors.h"
#include "print/EffectiveResolution.h"
#include "printer/HqPrinter.h"

#include <QLabel>

void TForm_Main::SpeedButton_F11Click() {
    if (!msgbox::AskYesNo(QString::fromUtf8("印刷しますか?"))) {
        Edit_G1->setFocus(Qt::OtherFocusReason);
        return;
    }
    THqPrinter& printer = HqPrinter();
    TPoint dpi;
    printer.GetResolution(dpi);
    const std::int32_t x = EffectiveResolution(dpi.X, static_cast<std::uint16_t>(printer.GetScale()));
    printer.GetResolution(dpi);
    const std::int32_t y = EffectiveResolution(dpi.Y, static_cast<std::uint16_t>(printer.GetScale()));
    Label_dpix->setText(QString::number(x));
    Label_dpiy->setText(QString::number(y));

    if (!Hq_d97_Dot) throw EAssertionFailed("Hq_d97_Dot was not created");
    printer.BeginDoc("tavo_Zaridi2  ");
    try {
        Hq_d97_Dot->SLIP97_Prn();
    } catch (...) {
        printer.Abort(); // nothing of the page reaches the spooler
        throw;
    }
    printer.EndDoc();
    RecordPrintedSlip(""); // the order reference joins here once imported orders reach the fields
}
