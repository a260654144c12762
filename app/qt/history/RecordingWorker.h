#pragma once
// Recording on a thread of its own: a store that is slow, locked or stopped holds up the record, never
// the window. Its recorder is the only one that writes the pending file, and takes the records in the
// order they were handed over; each answer comes back on the window's thread.
#include "history/HistoryRecorder.h"

#include <QObject>
#include <QThread>
#include <functional>
#include <memory>

class TRecordingWorker : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void(const history::RecordOutcome&)>;

    TRecordingWorker(history::StoreLocation location, std::string pendingPath, QObject* parent);
    // Finishes what was handed over (records only in memory get one more try), then ends the thread.
    ~TRecordingWorker() override;

    void Record(history::HistoryRecord record, Done done);
    void Flush(Done done);
    // Records or flushes handed over whose answer has not come back yet.
    bool Busy() const { return busy_ > 0; }

private:
    void Run(std::function<history::RecordOutcome(history::Recorder&)> work, Done done);

    QThread thread_;
    QObject* inThread_;                           // lives on thread_: the calls are queued to it
    std::unique_ptr<history::Recorder> recorder_; // used on thread_ only
    int busy_ = 0;
};
