#pragma once
// STAND-IN, NOT THE NUMERIC EDIT: a plain digits-only field that holds the place of TKyNumEdit in the
// main window until the real control is wired in. It has none of the numeric edit's own behaviour.
#include <QLineEdit>
#include <string>

class KyNumEditStandIn : public QLineEdit {
    Q_OBJECT
public:
    KyNumEditStandIn(int integerDigits, QWidget* parent = nullptr);
    std::string Text() const;           // CP932 value text
    void SetText(const std::string& s); // normalised like the numeric edit would
signals:
    void changed();

private:
    int digits_;
};
