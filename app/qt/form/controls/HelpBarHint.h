#pragma once
#include <QEvent>
#include <QLabel>
#include <QObject>
#include <QString>
#include <QWidget>

#include <utility>

// While the pointer rests on the button, its hint stands in the help bar; what stood there comes back.
class HelpBarHint : public QObject {
public:
    HelpBarHint(QWidget* button, QLabel* bar, QString hint)
        : QObject(button), bar_(bar), hint_(std::move(hint)) {
        button->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Enter) {
            before_ = bar_->text();
            bar_->setText(hint_);
        } else if (event->type() == QEvent::Leave && bar_->text() == hint_) {
            bar_->setText(before_);
        }
        return false;
    }

private:
    QLabel* bar_;
    QString hint_, before_;
};
