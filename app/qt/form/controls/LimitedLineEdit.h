#pragma once
// The one-line edit of the main window: a limit in CP932 bytes that binds typing and pasting only, and
// a signal after the field has taken the focus (and Qt has finished selecting its text).
#include <QLineEdit>

class ByteLimitValidator;

class LimitedLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit LimitedLineEdit(QWidget* parent = nullptr);

    // 0 means no limit. Text put in with setText() is never cut.
    void SetByteLimit(int bytes);
    int ByteLimit() const { return limit_; }

    // Input method state "off": no composing, Latin and number hints.
    void SetInputMethodOff();

    // True while the user's own input (keys, input method, drop, mouse paste, context menu) is handled.
    bool InUserInput() const { return userInput_; }

signals:
    void entered();

protected:
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool userInput_ = false;
    bool entered_ = false; // from entering the field until the focus goes to another control
    int limit_ = 0;
    ByteLimitValidator* validator_ = nullptr;
};

// CP932 bytes of `text` (a character CP932 cannot hold counts as its "?").
int Cp932Bytes(const QString& text);

// What an edit from `before` to `after` may become under `limit` bytes: the inserted part is cut to
// what still fits, whole characters only; a deletion is always allowed. `cursor` is moved with it.
QString LimitEdit(const QString& before, const QString& after, int limit, int& cursor);
