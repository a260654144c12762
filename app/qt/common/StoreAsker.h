#pragma once
// The history window's questions to the store, asked on a thread of its own over a connection of its
// own: a slow, locked or stopped store holds up the answer (each call is bounded by the store's
// deadline), never the painting of the windows. The caller waits for the answer in a local event loop
// that takes no user input, so nothing typed meanwhile can ask the store a second question.
#include "history/HistoryStore.h"

#include <QObject>
#include <QThread>
#include <functional>
#include <memory>

class TStoreAsker : public QObject {
    Q_OBJECT
public:
    TStoreAsker(history::StoreLocation location, QObject* parent);
    ~TStoreAsker() override;

    // Runs `use` on the store and returns once it has; what it raised is raised here. A store found
    // unavailable is dropped, so the next question connects afresh.
    void Ask(const std::function<void(history::Store&)>& use);
    // True while a question waits for its answer (timers and queued calls still run meanwhile).
    bool Asking() const { return asking_; }

private:
    QThread thread_;
    QObject* inThread_; // lives on thread_: the questions are queued to it
    history::StoreLocation location_;
    std::unique_ptr<history::Store> store_; // opened, used and closed on thread_ only
    bool asking_ = false;
};
