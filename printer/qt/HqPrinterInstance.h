#pragma once
// Owns the program's one printer object over the CUPS scheduler for as long as it lives, and keeps its
// printer list current: a fresh look each time the application becomes active again.
//
// The object is made in the background, so that no window waits for the scheduler: StartReading reads
// the queue list and the facts of the printers start-up will show, and WhenReady runs what needs them
// on the main thread once they are in. Anything that asks HqPrinter() before then waits for the reading
// (started on the spot if it was not), no longer than the scheduler's answer time.
#include "printer/HqPrinter.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <vector>

class THqPrinterInstance : public QObject {
    Q_OBJECT
public:
    THqPrinterInstance();
    ~THqPrinterInstance() override;

    // Reads the queue list and the facts of the default printer and of the printers at these visible
    // positions, in the background; once only.
    void StartReading(std::vector<int> visibleIndexes = {});
    // The object is there and every WhenReady function has run.
    bool Ready() const { return ready_; }
    // Runs `then` on the main thread once the object is there (at once when it is), unless `context`
    // is gone by then.
    void WhenReady(QObject* context, std::function<void()> then);

    // The program's instance; null while there is none.
    static THqPrinterInstance* Current();

signals:
    void ready();

private:
    struct Reading;
    THqPrinter& Finish(); // waits for the reading; HqPrinter() answers from then on
    void Deliver();       // on the main thread, when the reading is done
    void RunWaiting();

    std::shared_ptr<Reading> reading_;
    std::unique_ptr<THqPrinter> printer_;
    std::vector<std::pair<QPointer<QObject>, std::function<void()>>> waiting_;
    bool ready_ = false;
    bool running_ = false;
};
