#include "app/qt/common/HelpBar.h"

#include <QEvent>
#include <QLabel>
#include <QWidget>

HelpBar::HelpBar(QLabel* bar) : QObject(bar), bar_(bar) {}

void HelpBar::Prompt(const QString& text) {
    if (!notice_.isEmpty()) {
        bar_->setText(notice_);
        notice_.clear();
        return;
    }
    bar_->setText(text);
}

void HelpBar::Notice(const QString& text) {
    notice_ = text;
    bar_->setText(text);
}

void HelpBar::Say(const QString& text) {
    bar_->setText(text);
}

void HelpBar::Hint(QWidget* button, const QString& hint) {
    hints_[button] = hint;
    button->installEventFilter(this);
}

QString HelpBar::Text() const {
    return bar_->text();
}

bool HelpBar::eventFilter(QObject* watched, QEvent* event) {
    const auto hint = hints_.find(watched);
    if (hint != hints_.end()) {
        if (event->type() == QEvent::Enter) {
            beforeHint_ = bar_->text();
            bar_->setText(hint->second);
        } else if (event->type() == QEvent::Leave && bar_->text() == hint->second) {
            bar_->setText(beforeHint_);
        }
    }
    return QObject::eventFilter(watched, event);
}
