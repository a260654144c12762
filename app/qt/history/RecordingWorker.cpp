#include "app/qt/history/RecordingWorker.h"

#include "platform/Cp932Codec.h"

#include <QMetaObject>
#include <cstdio>

TRecordingWorker::TRecordingWorker(history::StoreLocation location, std::string pendingPath, QObject* parent)
    : QObject(parent), inThread_(new QObject),
      recorder_(std::make_unique<history::Recorder>(std::move(location), std::move(pendingPath))) {
    thread_.setObjectName(QStringLiteral("history recording"));
    inThread_->moveToThread(&thread_);
    thread_.start();
}

TRecordingWorker::~TRecordingWorker() {
    // Queued behind everything handed over, so every record is on disk or in the store before the end.
    QMetaObject::invokeMethod(inThread_, [this] {
        if (recorder_->Unsaved() > 0) recorder_->Flush();
        if (const std::size_t lost = recorder_->Unsaved())
            std::fprintf(stderr, "tavo_Zaridi2: %zu printed slips could not be recorded anywhere\n", lost);
        thread_.quit();
    });
    thread_.wait();
    delete inThread_;
}

void TRecordingWorker::Record(history::HistoryRecord record, Done done) {
    Run([record = std::move(record)](history::Recorder& r) { return r.Record(record); }, std::move(done));
}

void TRecordingWorker::Flush(Done done) {
    Run([](history::Recorder& r) { return r.Flush(); }, std::move(done));
}

void TRecordingWorker::Run(std::function<history::RecordOutcome(history::Recorder&)> work, Done done) {
    ++busy_;
    QMetaObject::invokeMethod(inThread_, [this, work = std::move(work), done = std::move(done)] {
        const history::RecordOutcome outcome = work(*recorder_); // never raises
        // Back on the window's thread; dropped by Qt when this object is gone by then.
        QMetaObject::invokeMethod(this, [this, done, outcome] {
            --busy_;
            if (done) done(outcome);
        });
    });
}
