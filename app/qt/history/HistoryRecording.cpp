// Recording each printed slip, loading a recorded one back for a reprint, and the records kept back.
#include "app/qt/history/HistoryRecording.h"

#include "app/MainSettings.h"
#include "app/qt/common/HelpBar.h"
#include "app/qt/common/MessageBoxes.h"
#include "app/qt/common/SlipDesk.h"
#include "app/qt/common/StoreAsker.h"
#include "app/qt/history/HistoryWindow.h"
#include "app/qt/history/RecordingWorker.h"
#include "history/HistoryRecorder.h"
#include "history/PendingFile.h"
#include "platform/Conversions.h"
#include "platform/ProfileFile.h"
#include "platform/RuntimeErrors.h"
#include "platform/qt/QtText.h"
#include "printer/HqPrinter.h"

#include <QScopedValueRollback>
#include <QTimer>

namespace {

// The slip as it went onto the paper: the fields the layout read, on the queue that took the job.
history::HistoryRecord PrintedRecord(const SlipDesk& desk) {
    const LayoutCaptions c = desk.SlipCaptions();
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
    r.values = desk.SlipValues();
    return r;
}

} // namespace

THistoryDesk::THistoryDesk(SlipDesk& desk) : QObject(&desk.DeskWindow()), desk_(desk) {
    setObjectName(QStringLiteral("HistoryDesk"));
    WatchFields();
}

THistoryDesk::~THistoryDesk() = default;

namespace {

history::StoreLocation Location(const std::string& dir) {
    return history::LocationFromSettings(ProfileFile(SettingsFilePath(dir)), dir);
}

} // namespace

TStoreAsker& THistoryDesk::Asker() {
    if (!asker_) asker_ = new TStoreAsker(Location(desk_.WorkingDir()), this);
    return *asker_;
}

TRecordingWorker& THistoryDesk::Worker() {
    if (!worker_) {
        const std::string dir = desk_.WorkingDir();
        worker_ = new TRecordingWorker(Location(dir), history::PendingFilePath(dir), this);
    }
    return *worker_;
}

bool THistoryDesk::Recording() const {
    return worker_ && worker_->Busy();
}

THistoryWindow& THistoryDesk::Window() {
    if (!window_) window_ = new THistoryWindow(desk_, *this);
    return *window_;
}

void THistoryDesk::RecordPrinted(const history::OrderLink& order, const std::string& tracking,
                                 const history::QueueMark& queue, const std::vector<std::string>& changed) {
    history::HistoryRecord r;
    try {
        r = PrintedRecord(desk_);
    } catch (const Exception& e) {
        desk_.Help().Say(QFromUtf8("印刷の記録を作れませんでした: ") + FromCp932(e.Message()));
        return;
    } catch (const std::exception& e) {
        desk_.Help().Say(QFromUtf8("印刷の記録を作れませんでした: ") + QString::fromLocal8Bit(e.what()));
        return;
    }
    r.order = order.ref;
    r.platform = order.platform;
    r.refs = order.refs;
    r.delivery = order.delivery;
    r.changed = changed;
    r.tracking = tracking;
    r.queue = queue;
    if (loadedId_ != 0) r.reprintOf = loadedId_;
    desk_.Help().Say(QFromUtf8("印刷しました。記録しています…"));
    Worker().Record(std::move(r), [this, tracking](const history::RecordOutcome& o) {
        QString help;
        if (o.status == history::RecordOutcome::Status::Stored) {
            lastRecordedId_ = o.id;
            help = tracking.empty() ? QFromUtf8("印刷しました（履歴 No.%1）。送り状番号は F6 "
                                                "の履歴で、この行を選んでスキャンしてください")
                                          .arg(o.id)
                                    : QFromUtf8("印刷しました（履歴 No.%1、送り状番号 %2）")
                                          .arg(o.id)
                                          .arg(FromCp932(tracking));
            if (!o.message.empty()) help += QStringLiteral("　") + FromCp932(o.message);
        } else {
            help = FromCp932(o.message);
        }
        desk_.Help().Say(help);
        Conflicts(o);
    });
}

void THistoryDesk::RecordSkipped(const std::string& slipType, const std::vector<std::string>& numbers,
                                 std::function<void()> then) {
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        history::HistoryRecord r;
        r.printer = desk_.RegisteredPrinterName(); // where the stack stands
        r.values.ComboBox_SEL = slipType;
        r.tracking = numbers[i];
        r.isVoid = true;
        const bool last = i + 1 == numbers.size();
        Worker().Record(std::move(r), [this, last, then](const history::RecordOutcome& o) {
            if (!o.message.empty()) desk_.Help().Say(FromCp932(o.message));
            if (last && then) then();
        });
    }
}

// A slip of an order that another desk's slip got to first: the clerk must set one of them aside.
void THistoryDesk::Conflicts(const history::RecordOutcome& o) {
    if (o.conflicts.empty()) return;
    QStringList lines;
    for (const std::string& c : o.conflicts)
        lines << FromCp932(c);
    // After the answer has reached the help bar, outside the recording's callback.
    QTimer::singleShot(0, this, [lines] { msgbox::Notify(lines.join(u'\n')); });
}

void THistoryDesk::Flush(std::function<void()> then) {
    Worker().Flush([this, then = std::move(then)](const history::RecordOutcome& o) {
        if (!o.message.empty()) desk_.Help().Say(FromCp932(o.message));
        Conflicts(o);
        if (then) then();
    });
}

void THistoryDesk::Load(const history::HistoryRecord& record) {
    {
        QScopedValueRollback<bool> quiet(loading_, true);
        desk_.LoadRecorded(record.values);
    }
    loadedId_ = record.reprintOf.value_or(record.id);
    // A notice: the main window coming forward puts its prompt into the bar, the note stays over it.
    desk_.Help().Notice(
        QFromUtf8("履歴 No.%1 の送り状を読み込みました。確かめて F11 で再印刷してください").arg(record.id));
}

void THistoryDesk::WatchFields() {
    desk_.OnSlipChanged(this, [this] {
        if (!loading_) loadedId_ = 0;
    });
}
