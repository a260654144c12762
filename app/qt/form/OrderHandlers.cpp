// The main window's side of the order queue: F8, a slip filled from an order, and the link to it.
#include "app/qt/form/SlipBinding.h"
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "app/qt/orders/OrderQueueWindow.h"
#include "orders/Orders.h"

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
    slip::Record order;
    order.Edit_Zip = f.Zip;
    order.Edit_Add1 = f.Add1;
    order.Edit_Add2 = f.Add2;
    order.Edit_Add3 = f.Add3;
    order.Edit_Custo1 = f.Custo1;
    order.Edit_tel = f.Tel;
    order.Edit_G1 = f.G1;
    order.Edit_G2 = f.G2;
    order.Edit_G3 = f.G3;
    order.KyNumEdit_KOSUU = f.Kosuu;
    order.KyNumEdit_PriceSub = f.PriceSub;
    order.CheckBox_p1 = f.P1;
    Edit_Cls();
    BitBtn_PriceSub_ClsClick(); // no payment kind of the slip before survives
    // Each field through its change handler, as typing would; the sender stays as it is.
    Slip().Write(order, FilledByOrders);
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
