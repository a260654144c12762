#pragma once
// The start-up measurement's one hook (bench/bench_coldstart). With ZARIDI_EXIT_AFTER_FIRST_PAINT set, the
// window's first paint, once it has reached the screen, is reported on standard output as
// "first-paint <CLOCK_MONOTONIC ns> <shared objects loaded> <CPU ns of the process>" and the process
// leaves at once: nothing is
// saved and nothing after the first paint runs. Header-only, so the bare comparison window uses the
// very same code.
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <link.h>
#include <unistd.h>

namespace first_paint {

class ExitAfterFirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Paint || seen_) return false;
        seen_ = true;
        // Queued: the paint and the flush of the backing store finish first.
        QTimer::singleShot(0, [] {
            timespec now{}, cpu{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
            int objects = 0;
            dl_iterate_phdr([](dl_phdr_info*, size_t, void* n) { return ++*static_cast<int*>(n), 0; },
                            &objects);
            std::printf("first-paint %lld %d %lld\n", now.tv_sec * 1000000000LL + now.tv_nsec, objects,
                        cpu.tv_sec * 1000000000LL + cpu.tv_nsec);
            std::fflush(stdout);
            _exit(0);
        });
        return false;
    }

private:
    bool seen_ = false;
};

// Installed last, so it sees the paint before any filter the window has of its own.
inline void ExitAfterFirstPaintIfAsked(QWidget& window) {
    if (qEnvironmentVariableIsSet("ZARIDI_EXIT_AFTER_FIRST_PAINT"))
        window.installEventFilter(new ExitAfterFirstPaint(&window));
}

} // namespace first_paint
