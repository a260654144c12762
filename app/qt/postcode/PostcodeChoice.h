#pragma once
// The small pick list that opens under a postcode field when the code has several addresses: typing
// narrows it, the arrows move in it, Enter (or a double click) picks, Escape or a click elsewhere
// picks nothing.
#include <QDialog>
#include <QStringList>

class QLabel;
class QLineEdit;
class QListWidget;

class PostcodeChoice : public QDialog {
    Q_OBJECT
public:
    // `heading` names what is chosen and the data's date.
    PostcodeChoice(QWidget* field, const QString& heading, const QStringList& items);

    // The row of `items` picked, or -1.
    int Picked() const { return picked_; }

    // Shows the list under `field` and waits for the choice.
    static int Choose(QWidget* field, const QString& heading, const QStringList& items);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Narrow(const QString& typed);
    void Pick();

    QLabel* heading_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QListWidget* list_ = nullptr;
    int picked_ = -1;
};
