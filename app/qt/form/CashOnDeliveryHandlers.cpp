// The cash-on-delivery group of the main window: the contained tax follows the amount and the rate, one
// payment kind, and the mark on an amount a transfer left standing for a new consignee.
#include "app/qt/form/tavo_dprintUnit.h"
#include "platform/Conversions.h"
#include "platform/qt/QtText.h"
#include "print/CashOnDelivery.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLocale>

void TForm_Main::KyNumEdit_PriceSubChange() {
    tavo_Sum_sagawa();
}

void TForm_Main::tavo_Sum_sagawa() {
    KyNumEdit_TaxSub->SetText(ContainedTaxText(KyNumEdit_PriceSub->Text(), TaxRate()));
}

void TForm_Main::SetTaxRates(int current) {
    ComboBox_TaxRate->clear();
    for (int rate : {kDefaultTaxRate, kReducedTaxRate})
        ComboBox_TaxRate->addItem(QStringLiteral("%1%").arg(rate), rate);
    if (ComboBox_TaxRate->findData(current) < 0)
        ComboBox_TaxRate->addItem(QStringLiteral("%1%").arg(current), current);
    ComboBox_TaxRate->setCurrentIndex(ComboBox_TaxRate->findData(current));
}

int TForm_Main::TaxRate() const {
    const QVariant rate = ComboBox_TaxRate->currentData();
    return rate.isValid() ? rate.toInt() : kDefaultTaxRate;
}

void TForm_Main::MarkAmountForCheck(bool marked) {
    if (marked == amountMarked_) return;
    amountMarked_ = marked;
    if (marked) amountColour_ = KyNumEdit_PriceSub->Color();
    KyNumEdit_PriceSub->SetColor(marked ? QColor(255, 200, 200) : amountColour_);
    KyNumEdit_PriceSub->setToolTip(marked ? QFromUtf8("前のお届け先の代引金額です。確かめてください")
                                          : QString());
}

QString TForm_Main::AmountText() const {
    const Currency amount = StrToCurrOrZero(KyNumEdit_PriceSub->Text());
    if (amount == 0) return {};
    // Whole yen: the amount box takes no sen.
    return QLocale(QLocale::Japanese, QLocale::Japan)
               .toString(static_cast<qlonglong>(amount / kCurrencyScale)) +
           QFromUtf8("円");
}

void TForm_Main::ExclusivePayment(QCheckBox* clicked) {
    if (!clicked->isChecked()) return;
    for (QCheckBox* other : {CheckBox_p1, CheckBox_p2, CheckBox_p3})
        if (other != clicked) other->setChecked(false);
}

void TForm_Main::CheckBox_p1Click() {
    ExclusivePayment(CheckBox_p1);
}
void TForm_Main::CheckBox_p2Click() {
    ExclusivePayment(CheckBox_p2);
}
void TForm_Main::CheckBox_p3Click() {
    ExclusivePayment(CheckBox_p3);
}

void TForm_Main::BitBtn_PriceSub_ClsClick() {
    KyNumEdit_PriceSub->SetText("0"); // the change handler brings the tax to 0
    CheckBox_p1->setChecked(false);
    CheckBox_p2->setChecked(false);
    CheckBox_p3->setChecked(false);
}
