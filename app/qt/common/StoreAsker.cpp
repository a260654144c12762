#include "app/qt/common/StoreAsker.h"

#include <QEventLoop>
#include <QMetaObject>
#include <QScopedValueRollback>
#include <future>

TStoreAsker::TStoreAsker(history::StoreLocation location, QObject* parent)
    : QObject(parent), inThread_(new QObject), location_(std::move(location)) {
    thread_.setObjectName(QStringLiteral("history questions"));
    inThread_->moveToThread(&thread_);
    thread_.start();
}

TStoreAsker::~TStoreAsker() {
    QMetaObject::invokeMethod(inThread_, [this] {
        store_.reset();
        thread_.quit();
    });
    thread_.wait();
    delete inThread_;
}

void TStoreAsker::Ask(const std::function<void(history::Store&)>& use) {
    const QScopedValueRollback busy(asking_, true);
    std::promise<void> answered;
    std::future<void> answer = answered.get_future();
    QEventLoop wait;
    QMetaObject::invokeMethod(inThread_, [this, &use, &answered, &wait] {
        std::exception_ptr failure;
        try {
            if (!store_) store_ = history::OpenStore(location_);
            use(*store_);
        } catch (const history::EHistoryStore& e) {
            if (e.GetKind() == history::EHistoryStore::Kind::Unavailable) store_.reset();
            failure = std::current_exception();
        } catch (...) {
            failure = std::current_exception();
        }
        // The quit is posted before the answer is given: the loop outlives the post.
        QMetaObject::invokeMethod(&wait, &QEventLoop::quit, Qt::QueuedConnection);
        failure ? answered.set_exception(failure) : answered.set_value();
    });
    wait.exec(QEventLoop::ExcludeUserInputEvents);
    // The loop also ends when the application quits; the answer is still awaited, since `use` and the
    // loop live on this stack.
    answer.get();
}
