#include "printer/qt/HqPrinterInstance.h"

#include "platform/qt/LogCategories.h"
#include "printer/qt/PrinterBackEnd.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

THqPrinterInstance* g_current = nullptr;

} // namespace

struct THqPrinterInstance::Reading {
    std::thread thread;
    std::mutex mutex;
    std::condition_variable done;
    std::unique_ptr<THqPrinter> printer; // set by the thread when it is done
    bool finished = false;
};

THqPrinterInstance::THqPrinterInstance() {
    g_current = this;
    SetPendingHqPrinter([this]() -> THqPrinter& { return Finish(); });
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
            // While the first reading is under way its list is as fresh as any.
            if (state == Qt::ApplicationActive && printer_) printer_->SettingsChanged();
        });
    }
}

THqPrinterInstance::~THqPrinterInstance() {
    SetHqPrinter(nullptr);
    if (g_current == this) g_current = nullptr;
    // Bounded: every call of the reading gives up after the scheduler's answer time.
    if (reading_ && reading_->thread.joinable()) reading_->thread.join();
}

THqPrinterInstance* THqPrinterInstance::Current() {
    return g_current;
}

void THqPrinterInstance::StartReading(std::vector<int> visibleIndexes) {
    if (reading_) return;
    reading_ = std::make_shared<Reading>();
    // The thread talks to the scheduler this thread would: CUPS keeps the server per thread.
    const std::string server = CurrentScheduler();
    QPointer<THqPrinterInstance> self(this);
    reading_->thread = std::thread([reading = reading_, server, visibleIndexes, self] {
        UseScheduler(server);
        auto printer = std::make_unique<THqPrinter>(NewCupsPrinter());
        // What the printer displays show first: the current printer's facts, and the registered ones.
        // Failures are left for the main thread to meet and report; the log has them now.
        try {
            TPoint resolution;
            printer->GetResolution(resolution);
        } catch (...) {
            qCDebug(lcPrinter) << "reading the current printer ahead:"
                               << LoggedError(std::current_exception());
        }
        for (int index : visibleIndexes) {
            try {
                printer->ChoiceFor(index);
            } catch (...) {
                qCDebug(lcPrinter) << "reading printer" << index
                                   << "ahead:" << LoggedError(std::current_exception());
            }
        }
        {
            std::lock_guard lock(reading->mutex);
            reading->printer = std::move(printer);
            reading->finished = true;
        }
        reading->done.notify_all();
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                app,
                [self] {
                    if (self) self->Deliver();
                },
                Qt::QueuedConnection);
    });
}

THqPrinter& THqPrinterInstance::Finish() {
    if (!printer_) {
        StartReading();
        std::unique_lock lock(reading_->mutex);
        reading_->done.wait(lock, [this] { return reading_->finished; });
        printer_ = std::move(reading_->printer);
        lock.unlock();
        reading_->thread.join();
        SetHqPrinter(printer_.get());
        // What start-up left waiting comes before the caller that could not wait: the printer a slip
        // goes to is the registered one, not whichever was current first.
        RunWaiting();
    }
    return *printer_;
}

void THqPrinterInstance::Deliver() {
    Finish();
    RunWaiting();
}

void THqPrinterInstance::RunWaiting() {
    if (ready_ || running_) return;
    running_ = true;
    // Each function in turn; one that opens a box lets the next wait until it is closed.
    while (!waiting_.empty()) {
        auto [context, then] = std::move(waiting_.front());
        waiting_.erase(waiting_.begin());
        if (context) then();
    }
    running_ = false;
    ready_ = true;
    emit ready();
}

void THqPrinterInstance::WhenReady(QObject* context, std::function<void()> then) {
    if (ready_) {
        then();
        return;
    }
    waiting_.emplace_back(context, std::move(then));
}
