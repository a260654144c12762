#pragma once
// Reading the shared order queue on a thread of its own, on a connection of its own: a server that is
// slow or stopped holds up the read, never the window. Each answer comes back on the window's thread.
#include "history/HistoryStore.h"
#include "queue/StoreQueueStates.h"

#include <QObject>
#include <QThread>
#include <functional>
#include <memory>
#include <string>

class QueueReader : public QObject {
    Q_OBJECT
public:
    // `error` is empty when `snapshot` holds the answer; else why the queue could not be read (CP932).
    using Done = std::function<void(const queue::QueueSnapshot& snapshot, const std::string& error)>;

    QueueReader(history::StoreLocation location, QObject* parent);
    // Waits for the read under way (at most the store's deadline), then ends the thread.
    ~QueueReader() override;

    void Read(queue::SnapshotRequest request, Done done);
    bool Busy() const { return busy_; }

private:
    QThread thread_;
    QObject* inThread_; // lives on thread_: the reads are queued to it
    history::StoreLocation location_;
    std::unique_ptr<history::Store> store_; // used on thread_ only
    std::unique_ptr<history::QueueStore> queue_;
    bool busy_ = false;
};
