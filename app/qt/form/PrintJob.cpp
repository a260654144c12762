// The print job: one slip, one page, one job on the current printer.
#include "app/qt/common/MessageBoxes.h"
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "app/qt/print/Hq_d97Y_DotUnit.h"
#include "platform/RuntimeErrors.h"
#include "print/EffectiveResolution.h"
#include "printer/HqPrinter.h"

#include <QLabel>

void TForm_Main::SpeedButton_F11Click() {
    EnsureNamedPrinter(); // a slip whose printer is gone is not asked for, nor printed elsewhere
    const QString mismatch = PostcodeCheck(); // told, never in the way of printing
    // The day and slot an order asks for, so the clerk marks the slip's boxes before it goes.
    const QString delivery = QString::fromStdString(currentOrderDelivery_);
    if (!msgbox::AskYesNo((mismatch.isEmpty() ? QString() : mismatch + u'\n') +
                          (delivery.isEmpty() ? QString() : delivery + u'\n') +
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
    const TPoint dpi = EffectiveResolutionOf(printer);
    Label_dpix->setText(QString::number(dpi.X));
    Label_dpiy->setText(QString::number(dpi.Y));

    if (!Hq_d97_Dot) throw EAssertionFailed("Hq_d97_Dot was not created");
    printer.BeginDoc("tavo_Zaridi2  ");
    try {
        Hq_d97_Dot->SLIP97_Prn();
    } catch (...) {
        printer.Abort(); // nothing of the page reaches the spooler
        throw;
    }
    printer.EndDoc();
    RecordPrintedSlip(CurrentOrderRef()); // before the order queue moves the fields on
    emit SlipPrinted();
}
