// Printer registration per slip type, the printer displays, the F7 printer choice and the
// print-position dialog's button on the main window.
#include "app/MainSettings.h"
#include "app/qt/common/MessageBoxes.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "app/qt/print/SLIP97YPrnUnit.h"
#include "platform/Conversions.h"
#include "platform/Cp932.h"
#include "platform/ProfileFile.h"
#include "platform/RuntimeErrors.h"
#include "platform/qt/QtText.h"
#include "print/PrintTarget.h"
#include "print/PrinterRegistration.h"
#include "printer/HqPrinter.h"
#include "printer/qt/HqPrinterDialogs.h"

#include <QComboBox>
#include <QLabel>
#include <QStatusBar>

namespace {

void Fill(QComboBox* box, const std::vector<std::string>& items) {
    box->clear();
    for (const std::string& item : items)
        box->addItem(FromCp932(item));
}

// The printer displays' lines while no printer is shown: why, for a slip type with none registered. The
// text is too long for one display and runs over the first two.
void SayWhetherRegistered(QComboBox* printers, QComboBox* papers, bool registered) {
    const QString text = registered ? QString() : FromCp932(NotRegisteredText());
    printers->setPlaceholderText(text.left(text.size() / 2));
    papers->setPlaceholderText(text.mid(text.size() / 2));
    printers->setToolTip(text);
    papers->setToolTip(text);
}

// Where the README explains how to get a printer queue.
const char* const kSetUpHint = "プリンタの準備は README の「プリンタの準備」（F1 ヘルプ）にあります";

} // namespace

QString TForm_Main::NoPrinterAtAll() {
    try {
        HqPrinter().CheckNoPrinter();
        return {};
    } catch (const EHqPrinterNoPrinter& e) {
        const QString cause = FromCp932(e.Cause());
        return QFromUtf8("印刷できるプリンタがありません") +
               (cause.isEmpty() ? QString() : QFromUtf8("（%1）").arg(cause));
    }
}

void TForm_Main::TellNoPrinterOnce(const QString& why) {
    // The displays and the status line keep saying it until a printer is there; no box stands in the
    // way, F11 offers the PDF and the preview shows the slip type's own paper.
    ComboBox1->clear();
    ComboBox2->clear();
    ComboBox3->clear();
    ComboBox1->setPlaceholderText(QFromUtf8("プリンタがありません"));
    ComboBox2->setPlaceholderText(QFromUtf8("F11 で PDF に保存できます"));
    const QString full = why + QFromUtf8("。\n") + QFromUtf8(kSetUpHint);
    ComboBox1->setToolTip(full);
    ComboBox2->setToolTip(full);
    if (noPrinterTold_) return;
    noPrinterTold_ = true;
    StatusBar1->showMessage(why + QFromUtf8("。準備は README の「プリンタの準備」（F1 ヘルプ）にあります"));
}

void TForm_Main::LoadRegistration() {
    PrinterRegistration r =
        ReadPrinterRegistration(RegistrationFilePath(WorkingDir()), ToCp932(ComboBox_SEL->currentText()));
    Label_PrinterIndex->setText(FromCp932(r.printerIndex));
    Label_Prn_Top->setText(FromCp932(r.top));
    Label_Prn_Left->setText(FromCp932(r.left));
    printerName_ = r.printerName;
    slipTypeHasPrinter_ = r.registered;
    printMode_ = r.mode;
    SayWhetherRegistered(ComboBox1, ComboBox2, slipTypeHasPrinter_);
}

void TForm_Main::LocateNamedPrinter() {
    if (printerName_.empty()) return; // registered by index only, as older versions did
    try {
        // The index only says where the printer stood when it was registered.
        Label_PrinterIndex->setText(QString::number(NamedPrinterIndex(HqPrinter(), printerName_)));
    } catch (const EHqPrinterNotThere&) {
        // No other printer stands in: the displays show none, and printing refuses (EnsureNamedPrinter).
        ComboBox1->setCurrentIndex(-1);
        ComboBox2->clear();
        ComboBox3->clear();
        throw;
    }
}

void TForm_Main::EnsureNamedPrinter() {
    if (!slipTypeHasPrinter_) throw EHqPrinterNotRegistered(); // the first printer does not stand in
    if (printerName_.empty()) return;
    THqPrinter& printer = HqPrinter();
    if (printer.FindPrinter(printerName_).kind != PrinterPlace::Visible)
        printer.SettingsChanged(); // it may have come back since the list was last read
    const int index = NamedPrinterIndex(printer, printerName_);
    if (index == printer.GetIndex()) return;
    Label_PrinterIndex->setText(QString::number(index));
    SpeedButton_PRNSETClick();
}

std::string TForm_Main::RegisteredPrinterName() const {
    // With no printer shown, the registered one is missing: its name stays registered.
    if (ComboBox1->currentIndex() < 0) return printerName_;
    return cp932::PlainTrim(ToCp932(ComboBox1->currentText()));
}

std::int32_t TForm_Main::IndexInForce() const {
    return StrToInt(PrinterIndexText());
}

void TForm_Main::ComboBox_SELChange() {
    SpeedButton_PrnIdGetClick();
}

void TForm_Main::SpeedButton_PrnIdGetClick() {
    LoadRegistration();
    LocateNamedPrinter();
    SpeedButton_PRNSETClick();
}

void TForm_Main::SpeedButton_PRNSETClick() {
    if (const QString why = NoPrinterAtAll(); !why.isEmpty()) {
        TellNoPrinterOnce(why);
        return;
    }
    if (noPrinterTold_) { // a printer has come since
        noPrinterTold_ = false;
        StatusBar1->showMessage(QStringLiteral("  "));
        ComboBox1->setToolTip({});
        ComboBox2->setToolTip({});
    }
    const std::int32_t index = IndexInForce();
    THqPrinter& printer = HqPrinter();
    // The slip type's stock: a printer that takes free sizes offers it and starts with it.
    const PageGeometry form = NominalPaper(ToCp932(ComboBox_SEL->currentText()));
    printer.SetSlipForm({form.width, form.length});
    try {
        printer.SetIndex(index);
    } catch (const EHQPrinterRangeError&) {
        // The registered printer is gone: the first one stands in, the displays keep what they show.
        printer.SetIndex(0);
        return;
    } catch (...) {
        // Any other failure is tried once more from the first printer; what fails again is reported.
        printer.SetIndex(0);
        try {
            printer.SetIndex(index);
        } catch (const EHQPrinterRangeError&) {
            printer.SetIndex(0);
            return;
        }
    }
    SayWhetherRegistered(ComboBox1, ComboBox2, slipTypeHasPrinter_);
    if (!slipTypeHasPrinter_) { // no printer is shown as the slip type's
        ComboBox1->setCurrentIndex(-1);
        ComboBox2->clear();
        ComboBox3->clear();
        return;
    }
    try {
        Fill(ComboBox1, printer.GetPrinterNames());
        ComboBox1->setCurrentIndex(printer.GetIndex());
    } catch (const EHqPrinter&) {
        ComboBox1->setEnabled(false); // for the rest of the run
        return;
    }
    try {
        Fill(ComboBox2, printer.GetPaperSizeNames());
        ComboBox2->setCurrentIndex(printer.GetPaperSizeIndex());
    } catch (const EHqPrinter&) {
        ComboBox2->setCurrentIndex(-1);
    }
    try {
        Fill(ComboBox3, printer.GetBinNames());
        ComboBox3->setCurrentIndex(printer.GetBinIndex());
    } catch (const EHqPrinter&) {
        ComboBox3->setCurrentIndex(-1);
    }
}

void TForm_Main::BitBtn_PrnSetClick() {
    if (const QString why = NoPrinterAtAll(); !why.isEmpty()) {
        msgbox::Notify(why + QFromUtf8("。\n") + QFromUtf8(kSetUpHint));
        return;
    }
    LoadRegistration();
    bool located = true;
    try {
        LocateNamedPrinter();
    } catch (const EHqPrinterNotThere&) {
        located = false; // what this action mends: the dialog opens on the first printer
    }
    if (located) SpeedButton_PRNSETClick();
    THqPrinter& printer = HqPrinter();
    // The dialog opens on the registered printer, or on the first when that one could not be made current.
    // (Located, the index in force is an integer: SpeedButton_PRNSETClick has read it.)
    printer.SetIndex(located && IndexInForce() == printer.GetIndex() ? IndexInForce() : 0);
    const QString slipTypeName = ComboBox_SEL->currentText();
    HqPrinterSetupDialog1->setWindowTitle(QFromUtf8("「%1」の印刷先を登録").arg(slipTypeName));
    PrintMode mode = printMode_;
    if (!HqPrinterSetupDialog1->Execute(&mode)) return; // cancelled: the registration stays as it was
    Label_PrinterIndex->setText(QString::number(printer.GetIndex()));
    const std::string slipType = ToCp932(ComboBox_SEL->currentText());
    slipTypeHasPrinter_ = true;
    SpeedButton_PRNSETClick();
    PrinterRegistration r;
    r.printerName = RegisteredPrinterName();
    r.printerIndex = PrinterIndexText();
    r.top = ToCp932(Label_Prn_Top->text());
    r.left = ToCp932(Label_Prn_Left->text());
    r.mode = mode;
    WritePrinterRegistration(RegistrationFilePath(WorkingDir()), slipType, r);
    printerName_ = r.printerName;
    printMode_ = mode;
    msgbox::Notify(
        QFromUtf8("「%1」の印刷先を「%2」に登録しました").arg(slipTypeName, FromCp932(r.printerName)));
}

void TForm_Main::BitBtn_PrnSet2Click() {
    if (!Form_SLIP97YPrn) throw EAssertionFailed("Form_SLIP97YPrn was not created");
    Form_SLIP97YPrn->exec();
}

void TForm_Main::SpeedButton_F7Click() {
    if (const QString why = NoPrinterAtAll(); !why.isEmpty()) {
        msgbox::Notify(why + QFromUtf8("。\n") + QFromUtf8(kSetUpHint));
        return;
    }
    const std::string settings = SettingsFilePath(WorkingDir());
    THqPrinter& printer = HqPrinter();
    const ProfileFile stored(settings);
    std::int32_t chosen = stored.ReadInteger(kSettingsSection, kPrinterChoiceKey, -1);
    // The name says which printer was chosen; the index, kept for older versions, only where it stood.
    const std::string name = stored.ReadString(kSettingsSection, kPrinterChoiceNameKey, "");
    if (!name.empty()) {
        const PrinterPlace place = printer.FindPrinter(name);
        chosen = place.kind == PrinterPlace::Visible ? place.index : 0; // gone: the dialog opens on the first
    }
    try {
        printer.SetIndex(chosen);
    } catch (...) {
        printer.SetIndex(0);
    }
    HqPrinterSetupDialog1->setWindowTitle(QFromUtf8("プリンタの設定")); // a one-off choice, for no slip type
    HqPrinterSetupDialog1->Execute();
    const int index = printer.GetIndex();
    const std::string chosenName =
        index >= 0 ? printer.GetPrinterNames().at(static_cast<std::size_t>(index)) : std::string();
    ProfileFile file(settings);
    file.WriteInteger(kSettingsSection, kPrinterChoiceKey, index);
    file.WriteString(kSettingsSection, kPrinterChoiceNameKey, chosenName);
    file.Save();
    Label_PrinterIndex->setText(QString::number(index));
    printerName_ = chosenName; // until the next slip type change, slips go to this printer or nowhere
    slipTypeHasPrinter_ = true;
    SpeedButton_PRNSETClick();
}
