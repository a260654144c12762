#pragma once
// The one place that reports an error a handler let through: an error box with its message, and the
// program goes on with whatever the handler had already changed.
#include <exception>
#include <utility>

void ReportHandlerError(std::exception_ptr error);

// Runs a handler; nothing it throws reaches Qt's event loop. False when it ended in an error.
template <class F>
bool Guarded(F&& handler) noexcept {
    try {
        std::forward<F>(handler)();
        return true;
    } catch (...) {
        ReportHandlerError(std::current_exception());
        return false;
    }
}
