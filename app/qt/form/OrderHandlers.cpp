// The main window's side of the order queue: F8, a slip filled from an order, and the link to it.
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "app/qt/orders/OrderQueueWindow.h"
#include "orders/Orders.h"

#include <QCheckBox>

void TForm_Main::SpeedButton_F8Click() {
    if (!orderQueue_) orderQueue_ = new OrderQueueWindow(*this, WorkingDir());
    SetHelp("印刷する注文を選んでEnterで読み込み、F11で印刷して下さい");
    orderQueue_->show();
    orderQueue_->raise();
    orderQueue_->activateWindow();
    if (orderQueue_->Count() == 0) orderQueue_->ChooseFile();
}

void TForm_Main::LoadOrder(const orders::OrderFields& utf8Fields, const std::string& cp932Ref) {
    const orders::OrderFields f = orders::FieldsForSlip(utf8Fields);
    Edit_Cls();
    // Each field through its change handler, as typing would; the sender stays as it is.
    SetCp(Edit_Zip, f.Zip);
    SetCp(Edit_Add1, f.Add1);
    SetCp(Edit_Add2, f.Add2);
    SetCp(Edit_Add3, f.Add3);
    SetCp(Edit_Custo1, f.Custo1);
    SetCp(Edit_tel, f.Tel);
    SetCp(Edit_G1, f.G1);
    SetCp(Edit_G2, f.G2);
    SetCp(Edit_G3, f.G3);
    KyNumEdit_KOSUU->SetText(f.Kosuu);
    BitBtn_PriceSub_ClsClick(); // no payment kind of the slip before survives
    KyNumEdit_PriceSub->SetText(f.PriceSub);
    if (f.P1) {
        CheckBox_p1->setChecked(true);
        CheckBox_p1Click();
    }
    Edit_Warning();
    PostcodeCheck(); // a postcode that does not fit the address shows beside it, as after a transfer
    fromOrder_ = true;
    currentOrderRef_ = cp932Ref;
    Edit_Zip->setFocus(Qt::OtherFocusReason);
}

void TForm_Main::ForgetOrder() {
    fromOrder_ = false;
    currentOrderRef_.clear();
}
