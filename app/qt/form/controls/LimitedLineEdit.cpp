#include "app/qt/form/controls/LimitedLineEdit.h"

#include "app/qt/form/controls/ByteLimitValidator.h"

#include "platform/qt/QtText.h"

#include <QFocusEvent>
#include <QScopedValueRollback>
#include <QValidator>
#include <limits>

int Cp932Bytes(const QString& text) {
    return static_cast<int>(ToCp932(text).size());
}

QString LimitEdit(const QString& before, const QString& after, int limit, int& cursor) {
    int afterBytes = Cp932Bytes(after);
    if (afterBytes <= limit || afterBytes <= Cp932Bytes(before)) return after;
    // The edit replaced before[prefix, before.size()-suffix) by after[prefix, after.size()-suffix).
    qsizetype prefix = 0;
    qsizetype maxPrefix = std::min(before.size(), after.size());
    while (prefix < maxPrefix && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < maxPrefix - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    QString kept = before.left(prefix) + before.right(suffix);
    QString inserted = after.mid(prefix, after.size() - suffix - prefix);
    int room = limit - Cp932Bytes(kept);
    QString fits;
    for (qsizetype i = 0; i < inserted.size();) {
        qsizetype n = (inserted[i].isHighSurrogate() && i + 1 < inserted.size()) ? 2 : 1;
        QString ch = inserted.mid(i, n);
        int bytes = Cp932Bytes(ch);
        if (bytes > room) break;
        room -= bytes;
        fits += ch;
        i += n;
    }
    cursor = static_cast<int>(prefix + fits.size());
    return before.left(prefix) + fits + before.right(suffix);
}

LimitedLineEdit::LimitedLineEdit(QWidget* parent) : QLineEdit(parent) {
    // The byte limits below bind typing; text the program puts in is never cut, not even at the
    // toolkit's default of 32767 characters.
    setMaxLength(std::numeric_limits<int>::max());
}

void LimitedLineEdit::SetByteLimit(int bytes) {
    limit_ = bytes;
    if (bytes <= 0) {
        setValidator(nullptr);
        delete validator_;
        validator_ = nullptr;
        return;
    }
    if (!validator_) {
        validator_ = new ByteLimitValidator(this, bytes);
        setValidator(validator_);
    } else {
        validator_->SetLimit(bytes);
    }
}

void LimitedLineEdit::SetInputMethodOff() {
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setInputMethodHints(Qt::ImhLatinOnly | Qt::ImhPreferNumbers | Qt::ImhNoPredictiveText);
}

bool LimitedLineEdit::event(QEvent* e) {
    switch (e->type()) {
    case QEvent::KeyPress:
    case QEvent::InputMethod:
    case QEvent::Drop:
    case QEvent::MouseButtonRelease: // middle-button paste
    case QEvent::ContextMenu: {
        QScopedValueRollback<bool> user(userInput_, true);
        return QLineEdit::event(e);
    }
    default:
        return QLineEdit::event(e);
    }
}

void LimitedLineEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // Back from a message box, a menu or another window: the user never left the field, so the
    // caret and the warning stay as they were.
    bool returning =
        event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
    if (entered_ && returning) return;
    entered_ = true;
    emit entered();
}

void LimitedLineEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        entered_ = false;
}
