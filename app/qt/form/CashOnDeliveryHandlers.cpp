// The cash-on-delivery group of the main window: the contained tax follows the amount, one payment kind.
#include "app/qt/form/tavo_dprintUnit.h"
#include "print/CashOnDelivery.h"

#include <QCheckBox>

void TForm_Main::KyNumEdit_PriceSubChange() {
    tavo_Sum_sagawa();
}

void TForm_Main::tavo_Sum_sagawa() {
    KyNumEdit_TaxSub->SetText(ContainedTaxText(KyNumEdit_PriceSub->Text()));
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
