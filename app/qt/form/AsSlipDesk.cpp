// The main window as the windows around it see it: the slip as a record, its stock, the printer
// registration in force, and word of printing and of changes.
#include "app/qt/form/SlipBinding.h"
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "platform/qt/QtText.h"

#include <QComboBox>
#include <QLabel>

void TForm_Main::BringForward() {
    raise();
    activateWindow();
}

void TForm_Main::FocusSlip() {
    Edit_Zip->setFocus(Qt::OtherFocusReason);
}

std::string TForm_Main::WorkingDir() const {
    return NativePath(Label_CurrentDir->text());
}

slip::Record TForm_Main::SlipValues() const {
    return slip_->Read();
}

LayoutCaptions TForm_Main::SlipCaptions() const {
    return slip_->Captions();
}

std::optional<slip::Stock> TForm_Main::Stock() const {
    const int index = ComboBox_SEL->currentIndex();
    for (slip::Stock s : slip::kStocks)
        if (static_cast<int>(s) == index) return s;
    return std::nullopt;
}

std::string TForm_Main::StockName() const {
    return ToCp932(ComboBox_SEL->currentText());
}

void TForm_Main::OnPrinted(QObject* context, std::function<void()> then) {
    connect(this, &TForm_Main::SlipPrinted, context, std::move(then));
}

void TForm_Main::OnStockChanged(QObject* context, std::function<void()> then) {
    connect(ComboBox_SEL, &QComboBox::currentIndexChanged, context, std::move(then));
}

void TForm_Main::OnSlipChanged(QObject* context, std::function<void()> then) {
    slip_->Watch(context, then);
}

std::string TForm_Main::PrinterIndexText() const {
    return ToCp932(Label_PrinterIndex->text());
}

void TForm_Main::SetMargins(const std::string& top, const std::string& left) {
    Label_Prn_Top->setText(FromCp932(top));
    Label_Prn_Left->setText(FromCp932(left));
}
