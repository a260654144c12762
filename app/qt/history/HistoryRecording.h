#pragma once
// The main window's side of the history: the recording (made on first use, so that starting the program
// opens no store; it runs on a thread of its own), the store the windows search, the record that a
// reprint repeats, and the history window.
#include "history/HistoryRecord.h"

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class SlipDesk;
class THistoryWindow;
class TRecordingWorker;
class TStoreAsker;
namespace history {
struct HistoryRecord;
struct OrderLink;
struct RecordOutcome;
} // namespace history

class THistoryDesk : public QObject {
    Q_OBJECT
public:
    explicit THistoryDesk(SlipDesk& desk);
    ~THistoryDesk() override;

    // Questions to the store the settings file names ([History]), else tavo_Zaridi2.db in the working
    // folder, asked off this thread: the history window's and the order queue's. Records go through
    // RecordPrinted and Flush, whose recorder alone writes the pending file.
    TStoreAsker& Asker();
    THistoryWindow& Window();

    // The slip just printed, read from the fields as they stand, with its number ("" when none), handed
    // to the recording thread. The help bar says what became of the record once it is known; nothing
    // here raises or waits, so the print it follows never fails or stalls for it.
    // `queue`: the shared queue's order the slip was printed for; its record marks it printed.
    // `changed`: the fields of the order changed before printing (slip::ChangedFields).
    void RecordPrinted(const history::OrderLink& order, const std::string& tracking,
                       const history::QueueMark& queue = {}, const std::vector<std::string>& changed = {});
    // The slips of a stack skipped since the counter (spoiled or lost, never printed here): each recorded
    // void on the slip type with its number, through the recording thread as printed slips are. `then`
    // runs on this thread once the last is answered.
    void RecordSkipped(const std::string& slipType, const std::vector<std::string>& numbers,
                       std::function<void()> then);
    // Records kept back by an earlier failure go in; the help bar speaks only when some still wait.
    // `then` runs on this thread once they went in or not.
    void Flush(std::function<void()> then = {});
    // Records or flushes handed to the recording thread and not answered yet.
    bool Recording() const;

    // A recorded slip into the main window's fields: every value, the sender and the slip type as
    // printed. Until a field changes or another slip is loaded, printing is a reprint of it.
    void Load(const history::HistoryRecord& record);
    // The record of the last slip printed here, for the history window to select; 0 when none.
    std::int64_t LastRecordedId() const { return lastRecordedId_; }

private:
    void WatchFields();
    void Conflicts(const history::RecordOutcome& outcome);

    SlipDesk& desk_;
    TRecordingWorker& Worker();

    TRecordingWorker* worker_ = nullptr; // a child: ends with the window, after what it was handed
    TStoreAsker* asker_ = nullptr;       // a child
    THistoryWindow* window_ = nullptr;
    std::int64_t loadedId_ = 0;
    std::int64_t lastRecordedId_ = 0;
    bool loading_ = false;
};
