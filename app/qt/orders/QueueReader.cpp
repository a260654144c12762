#include "app/qt/orders/QueueReader.h"

#include "platform/RuntimeErrors.h"

#include <QMetaObject>

QueueReader::QueueReader(history::StoreLocation location, QObject* parent)
    : QObject(parent), inThread_(new QObject), location_(std::move(location)) {
    thread_.setObjectName(QStringLiteral("order queue reading"));
    inThread_->moveToThread(&thread_);
    thread_.start();
}

QueueReader::~QueueReader() {
    QMetaObject::invokeMethod(inThread_, [this] {
        queue_.reset();
        store_.reset();
        thread_.quit();
    });
    thread_.wait();
    delete inThread_;
}

void QueueReader::Read(queue::SnapshotRequest request, Done done) {
    busy_ = true;
    QMetaObject::invokeMethod(inThread_, [this, request, done = std::move(done)] {
        queue::QueueSnapshot snapshot;
        std::string error;
        try {
            if (!queue_) {
                store_ = history::OpenStore(location_);
                queue_ = std::make_unique<history::QueueStore>(*store_);
            }
            snapshot = queue::ReadSnapshot(*queue_, request);
        } catch (const Exception& e) {
            error = e.Message();
            queue_.reset(); // connect afresh next time
            store_.reset();
        }
        // Back on the window's thread; dropped by Qt when this object is gone by then.
        QMetaObject::invokeMethod(this, [this, done, snapshot = std::move(snapshot), error] {
            busy_ = false;
            done(snapshot, error);
        });
    });
}
