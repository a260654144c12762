// The main window's side of the history: F6, its key, the record of each printed slip, records kept back.
#include "app/qt/common/AfterFirstPaint.h"
#include "app/qt/common/ErrorBox.h"
#include "app/qt/common/HelpBar.h"
#include "app/qt/form/SlipBinding.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "app/qt/history/HistoryRecording.h"
#include "app/qt/history/HistoryWindow.h"
#include "history/PendingFile.h"
#include "platform/qt/QtText.h"
#include "slip/ChangedFields.h"

#include <QFile>
#include <QPushButton>

THistoryDesk& TForm_Main::HistoryDesk() {
    if (!historyDesk_) historyDesk_ = new THistoryDesk(*this);
    return *historyDesk_;
}

TStoreAsker& TForm_Main::HistoryAsker() {
    return HistoryDesk().Asker();
}

void TForm_Main::LoadRecorded(const slip::Record& values) {
    ForgetOrder(); // the slip is the recorded one now, not an order of the queue
    // Every value as printed: the tax after the amount it follows, so it is put back as printed.
    const bool stockChanged = slip_->Write(values, EveryField);
    CheckBox_MyClick();
    // The slip type chooses the stock, its printer and its margins: a reprint goes where the first
    // printing went, as if the user had picked the type from the list.
    if (stockChanged) Guarded([this] { ComboBox_SELChange(); });
    Edit_Warning();
}

void TForm_Main::RecordPrintedSlip(const history::OrderLink& order, const std::string& slipNo) {
    std::vector<std::string> changed;
    if (fromOrder_) changed = slip::ChangedFields(orderFields_, Slip().Read(), slip::kOrder);
    HistoryDesk().RecordPrinted(order, slipNo, currentQueueMark_, changed);
}

void TForm_Main::FlushHistoryAfterFirstPaint() {
    new AfterFirstPaint(this, [this] {
        if (destroyed_) return; // a check run (--self-test) writes nothing
        // Without a pending file there is nothing to do: not even the settings are read for it.
        if (!QFile::exists(QFile::decodeName(history::PendingFilePath(WorkingDir()).c_str()))) return;
        Guarded([this] { HistoryDesk().Flush(); });
    });
}

void TForm_Main::SetUpHistoryKey() {
    const QString hint =
        QFromUtf8("F6 履歴: 印刷した送り状の検索・再印刷、送り状番号のスキャン、出荷リストの書き出し");
    QPushButton* f6 = SpeedButton_F[6];
    f6->setText(QFromUtf8("履歴"));
    f6->setToolTip(hint);
    f6->setEnabled(true);
    Help().Hint(f6, hint);
}

void TForm_Main::SpeedButton_F6Click() {
    HistoryDesk().Window().Open();
}
