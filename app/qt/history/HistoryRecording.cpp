// Recording each printed slip, loading a recorded one back for a reprint, and the records kept back.
#include "app/qt/history/HistoryRecording.h"

#include "app/MainSettings.h"
#include "app/qt/common/ErrorBox.h"
#include "app/qt/form/SlipBinding.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "app/qt/history/HistoryWindow.h"
#include "history/HistoryRecorder.h"
#include "history/PendingFile.h"
#include "platform/Conversions.h"
#include "platform/ProfileFile.h"
#include "platform/RuntimeErrors.h"
#include "platform/qt/QtText.h"
#include "printer/HqPrinter.h"

#include <QLabel>
#include <QScopedValueRollback>
#include <QTimer>

namespace {

// The slip as it went onto the paper: the fields the layout read, on the queue that took the job.
history::HistoryRecord PrintedRecord(const TForm_Main& form) {
    const LayoutCaptions c = form.Slip().Captions();
    history::HistoryRecord r;
    THqPrinter& printer = HqPrinter();
    const std::vector<std::string>& queues = printer.GetPrinterNames();
    const int index = printer.GetIndex();
    if (index >= 0 && index < static_cast<int>(queues.size()))
        r.printer = queues[static_cast<std::size_t>(index)];
    // The layout has read these captions as integers already, or nothing would have been printed.
    r.resolutionX = StrToIntOrZero(c.dpix);
    r.resolutionY = StrToIntOrZero(c.dpiy);
    r.marginTop = StrToIntOrZero(c.prnTop);
    r.marginLeft = StrToIntOrZero(c.prnLeft);
    r.values = form.Slip().Read();
    return r;
}

} // namespace

THistoryDesk::THistoryDesk(TForm_Main& form) : QObject(&form), form_(form) {
    setObjectName(QStringLiteral("HistoryDesk"));
    WatchFields();
}

THistoryDesk::~THistoryDesk() = default;

history::Recorder& THistoryDesk::Recorder() {
    if (!recorder_) {
        const std::string dir = NativePath(form_.Label_CurrentDir->text());
        recorder_ = std::make_unique<history::Recorder>(
            history::LocationFromSettings(ProfileFile(SettingsFilePath(dir)), dir),
            history::PendingFilePath(dir));
    }
    return *recorder_;
}

THistoryWindow& THistoryDesk::Window() {
    if (!window_) window_ = new THistoryWindow(form_, *this);
    return *window_;
}

void THistoryDesk::RecordPrinted(const std::string& order) {
    QString help;
    try {
        history::HistoryRecord r = PrintedRecord(form_);
        r.order = order;
        if (loadedId_ != 0) r.reprintOf = loadedId_;
        const history::RecordOutcome o = Recorder().Record(std::move(r));
        if (o.status == history::RecordOutcome::Status::Stored) {
            lastRecordedId_ = o.id;
            help =
                U("印刷しました（履歴 No.%1）。送り状番号は F6 の履歴で、この行を選んでスキャンしてください")
                    .arg(o.id);
            if (!o.message.empty()) help += QStringLiteral("　") + FromCp932(o.message);
        } else {
            help = FromCp932(o.message);
        }
    } catch (const Exception& e) {
        help = U("印刷の記録を作れませんでした: ") + FromCp932(e.Message());
    } catch (const std::exception& e) {
        help = U("印刷の記録を作れませんでした: ") + QString::fromLocal8Bit(e.what());
    }
    form_.Panel_HelpMess->setText(help);
}

void THistoryDesk::Flush() {
    const history::RecordOutcome o = Recorder().Flush();
    if (!o.message.empty()) form_.Panel_HelpMess->setText(FromCp932(o.message));
}

void THistoryDesk::Load(const history::HistoryRecord& record) {
    TForm_Main& m = form_;
    m.ForgetOrder(); // the slip is the recorded one now, not an order of the queue
    {
        QScopedValueRollback<bool> quiet(loading_, true);
        // Every value as printed: the tax after the amount it follows, so it is put back as printed.
        const bool stockChanged = m.Slip().Write(record.values, EveryField);
        m.CheckBox_MyClick();
        // The slip type chooses the stock, its printer and its margins: a reprint goes where the first
        // printing went, as if the user had picked the type from the list.
        if (stockChanged) Guarded([&m] { m.ComboBox_SELChange(); });
        m.Edit_Warning();
    }
    loadedId_ = record.reprintOf.value_or(record.id);
    const QString help =
        U("履歴 No.%1 の送り状を読み込みました。確かめて F11 で再印刷してください").arg(record.id);
    m.Panel_HelpMess->setText(help);
    // The window coming forward puts its prompt into the bar; the note goes back over it.
    QTimer::singleShot(0, this, [this, help] { form_.Panel_HelpMess->setText(help); });
}

void THistoryDesk::WatchFields() {
    form_.Slip().Watch(this, [this] {
        if (!loading_) loadedId_ = 0;
    });
}
