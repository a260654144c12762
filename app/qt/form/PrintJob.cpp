// The print job: one slip, one job on the current printer: a page through its driver, or in text mode
// the printer's own bytes.
#include "app/qt/common/MessageBoxes.h"
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "app/qt/print/Hq_d97Y_DotUnit.h"
#include "escp/TextModePaper.h"
#include "platform/RuntimeErrors.h"
#include "printer/HqPrinter.h"

#include <QLabel>

void TForm_Main::SpeedButton_F11Click() {
    EnsureNamedPrinter(); // a slip whose printer is gone is not asked for, nor printed elsewhere
    const QString mismatch = PostcodeCheck(); // told, never in the way of printing
    if (!msgbox::AskYesNo((mismatch.isEmpty() ? QString() : mismatch + u'\n') +
                          QString::fromUtf8("印刷しますか?"))) {
        Edit_G1->setFocus(Qt::OtherFocusReason);
        return;
    }
    PrintCheckedSlip();
}

void TForm_Main::PrintSlip() {
    EnsureNamedPrinter(); // the order queue prints without the question: the same guard
    PrintCheckedSlip();
}

void TForm_Main::PrintCheckedSlip() {
    THqPrinter& printer = HqPrinter();
    const TPoint dpi = escp::ModeResolution(printMode_, printer);
    Label_dpix->setText(QString::number(dpi.X));
    Label_dpiy->setText(QString::number(dpi.Y));

    if (!Hq_d97_Dot) throw EAssertionFailed("Hq_d97_Dot was not created");
    const std::string title = "tavo_Zaridi2  ";
    if (printMode_ == PrintMode::Text) {
        printer.PrintRaw(title, Hq_d97_Dot->SLIP97_Text()); // laid out whole before anything is sent
    } else {
        printer.BeginDoc(title);
        try {
            Hq_d97_Dot->SLIP97_Prn();
        } catch (...) {
            printer.Abort(); // nothing of the page reaches the spooler
            throw;
        }
        printer.EndDoc();
    }
    RecordPrintedSlip(CurrentOrderRef()); // before the order queue moves the fields on
    emit SlipPrinted();
}
