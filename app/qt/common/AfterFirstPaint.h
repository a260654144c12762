#pragma once
// Runs a function once, just after a window's first paint has reached the screen: for start-up work
// that the user should not wait for before seeing the window.
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <utility>

class AfterFirstPaint : public QObject {
public:
    AfterFirstPaint(QWidget* window, std::function<void()> then) : QObject(window), then_(std::move(then)) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && then_) {
            QTimer::singleShot(0, parent(), std::exchange(then_, {})); // after this paint is done
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> then_;
};
