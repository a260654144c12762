// The print job: one slip, one job on the current printer: a page through its driver, or in text mode
// the printer's own bytes; where no printer can take it at all, the page as a PDF file.
#include "app/SlipPdfName.h"
#include "app/qt/common/FileFolders.h"
#include "app/qt/common/MessageBoxes.h"
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "app/qt/print/Hq_d97Y_DotUnit.h"
#include "escp/TextModePaper.h"
#include "orders/Delivery.h"
#include "platform/Cp932Codec.h"
#include "platform/FileIO.h"
#include "platform/RuntimeErrors.h"
#include "platform/qt/QtText.h"
#include "print/EffectiveResolution.h"
#include "print/PrintTarget.h"
#include "print/SlipCanvas.h"
#include "printer/HqPrinter.h"
#include "printer/qt/PdfCanvas.h"

#include <QDir>
#include <QFile>
#include <QLabel>

namespace {

constexpr const char* kJobTitle = "tavo_Zaridi2  ";

} // namespace

void TForm_Main::SpeedButton_F11Click() {
    if (const QString why = NoPrinterAtAll(); !why.isEmpty()) {
        SaveSlipAsPdf(why);
        return;
    }
    EnsureNamedPrinter(); // a slip whose printer is gone is not asked for, nor printed elsewhere
    const std::optional<std::string> slipNo = NextSlipNumber();
    if (!slipNo) {
        Edit_G1->setFocus(Qt::OtherFocusReason);
        return;
    }
    QStringList question;
    if (const QString mismatch = PostcodeCheck(); !mismatch.isEmpty())
        question << mismatch; // told, never in the way
    // The day and slot an order asks for, so the clerk marks the slip's boxes before it goes.
    if (const std::string asked = orders::DeliveryText(
            {cp932::ToUtf8(currentOrder_.delivery.day), cp932::ToUtf8(currentOrder_.delivery.time)});
        !asked.empty())
        question << QString::fromStdString(asked);
    if (const QString amount = AmountText(); !amount.isEmpty())
        question << QFromUtf8("代引金額 %1").arg(amount);
    // The number the slip in the printer must carry: a stack out of step shows here, before it is used.
    if (!slipNo->empty()) question << QFromUtf8("送り状番号 %1").arg(FromCp932(*slipNo));
    question << QFromUtf8("印刷しますか?");
    if (!msgbox::AskYesNo(question.join(u'\n'))) {
        Edit_G1->setFocus(Qt::OtherFocusReason);
        return;
    }
    PrintCheckedSlip(*slipNo);
}

void TForm_Main::PrintSlip() {
    EnsureNamedPrinter(); // the order queue prints without the question: the same guard
    // A run goes through the stack as F11 does; cancelled, nothing is printed and the order stays open.
    if (const std::optional<std::string> slipNo = NextSlipNumber()) PrintCheckedSlip(*slipNo);
}

void TForm_Main::PrintCheckedSlip(const std::string& slipNo) {
    THqPrinter& printer = HqPrinter();
    const TPoint dpi = escp::ModeResolution(printMode_, printer);
    Label_dpix->setText(QString::number(dpi.X));
    Label_dpiy->setText(QString::number(dpi.Y));

    if (!Hq_d97_Dot) throw EAssertionFailed("Hq_d97_Dot was not created");
    TakeSlipNumber(slipNo);
    try {
        if (printMode_ == PrintMode::Text) {
            printer.PrintRaw(kJobTitle, Hq_d97_Dot->SLIP97_Text()); // laid out whole before anything is sent
        } else {
            printer.BeginDoc(kJobTitle);
            try {
                Hq_d97_Dot->SLIP97_Prn();
            } catch (...) {
                printer.Abort(); // nothing of the page reaches the spooler
                throw;
            }
            printer.EndDoc();
        }
    } catch (...) {
        GiveBackSlipNumber(slipNo); // the slip is still in the printer, unprinted
        throw;
    }
    MarkAmountForCheck(false);                // the amount went out as it stood
    RecordPrintedSlip(currentOrder_, slipNo); // before the order queue moves the fields on
    emit SlipPrinted();
}

QString TForm_Main::SaveSlipAsPdf(const QString& why) {
    const QString folder = DocumentsFolder();
    if (!msgbox::AskYesNo(
            why +
            QFromUtf8("\n送り状を PDF にして「%1」に保存しますか?").arg(QDir::toNativeSeparators(folder)))) {
        Edit_G1->setFocus(Qt::OtherFocusReason);
        return {};
    }
    // The page the scheduler would have been sent: the slip type's own paper at the resolution the
    // preview assumes without a printer, the same layout and drawing.
    const PageGeometry page = NominalPaper(StockName());
    Label_dpix->setText(QString::number(kNominalDpi));
    Label_dpiy->setText(QString::number(kNominalDpi));
    const std::vector<SlipDraw> draws =
        LayoutSlip(SlipCaptions(), SlipValues()); // raises before a file exists
    PdfCanvas canvas;
    PdfPageSetup setup;
    setup.width = page.width;
    setup.length = page.length;
    setup.originX = page.originX;
    setup.originY = page.originY;
    setup.resolutionX = setup.resolutionY = kNominalDpi;
    setup.title = QString::fromLatin1(kJobTitle);
    canvas.Begin(setup);
    try {
        DrawSlip(canvas, draws);
    } catch (...) {
        canvas.Drop();
        throw;
    }
    const QByteArray pdf = canvas.Finish();

    const slip::Record values = SlipValues();
    QString path;
    for (int copy = 1; path.isEmpty() || QFile::exists(path); ++copy)
        path = QDir(folder).filePath(
            FromCp932(SlipPdfFileName(values.DateTimePicker_1, values.Edit_Custo1, copy)));
    fileio::WriteFileAtomic(NativePath(path), pdf.toStdString());
    msgbox::Notify(QFromUtf8("送り状を PDF で保存しました\n%1").arg(QDir::toNativeSeparators(path)));
    return path;
}
