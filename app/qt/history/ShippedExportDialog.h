#pragma once
#include <QDialog>

class QDateEdit;
class QDialogButtonBox;
class QRadioButton;

// What the shipped list covers and how it is encoded.
class TShippedExportDialog : public QDialog {
    Q_OBJECT
public:
    explicit TShippedExportDialog(QWidget* parent);

    QDateEdit* Date_From = nullptr;
    QDateEdit* Date_To = nullptr;
    QRadioButton* Radio_Utf8 = nullptr;
    QRadioButton* Radio_Sjis = nullptr;
    QDialogButtonBox* Buttons = nullptr;
};
