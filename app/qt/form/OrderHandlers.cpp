// The main window's side of the order queue: F8, a slip filled from an order, and the link to it.
#include "app/qt/form/SlipBinding.h"
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "app/qt/orders/OrderQueueWindow.h"

void TForm_Main::SpeedButton_F8Click() {
    if (!orderQueue_) orderQueue_ = new OrderQueueWindow(*this, WorkingDir());
    SetHelp("印刷する注文を選んでEnterで読み込み、F11で印刷して下さい");
    orderQueue_->show();
    orderQueue_->raise();
    orderQueue_->activateWindow();
    if (orderQueue_->Count() == 0) orderQueue_->ChooseFile();
}

void TForm_Main::LoadOrder(const slip::Record& order, const history::OrderLink& link,
                           const history::QueueMark& queue) {
    Edit_Cls();
    BitBtn_PriceSub_ClsClick(); // no payment kind of the slip before survives
    // Each field through its change handler, as typing would; the sender stays as it is.
    Slip().Write(order, FilledByOrders);
    Edit_Warning();
    PostcodeCheck(); // a postcode that does not fit the address shows beside it, as after a transfer
    fromOrder_ = true;
    currentOrder_ = link;
    orderFields_ = Slip().Read(); // as the change handlers left it: their folding is no change of the clerk's
    currentQueueMark_ = queue;
    Edit_Zip->setFocus(Qt::OtherFocusReason);
}

void TForm_Main::ForgetOrder() {
    fromOrder_ = false;
    currentOrder_ = {};
    orderFields_ = {};
    currentQueueMark_ = {};
}
