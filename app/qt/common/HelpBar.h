#pragma once
// The main window's help bar: the prompt of the field being entered, a notice that outlasts the next
// prompt, plain outcomes, and a button's hint while the pointer rests on it. Everything that writes the
// bar goes through here.
#include <QObject>
#include <QString>

#include <map>

class QLabel;
class QWidget;

class HelpBar : public QObject {
    Q_OBJECT
public:
    explicit HelpBar(QLabel* bar);

    // The prompt of the field the focus enters. A notice waiting stands in for it, once, so the entry
    // that usually follows a notice (the postcode after a transfer, the window coming forward) does not
    // wipe it away unread.
    void Prompt(const QString& text);
    // Shown now and kept over the next prompt.
    void Notice(const QString& text);
    // Shown now; the next prompt replaces it.
    void Say(const QString& text);
    // While the pointer rests on `button`, `hint` stands in the bar; what stood there comes back.
    void Hint(QWidget* button, const QString& hint);

    QString Text() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* bar_;
    QString notice_;
    std::map<const QObject*, QString> hints_;
    QString beforeHint_;
};
