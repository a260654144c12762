#pragma once
#include <QDialog>

class QCheckBox;
class QDateEdit;
class QDialogButtonBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// What the shipped files cover: the ship days, which of the files (the generic list, Rakuten's upload,
// Amazon's confirmation), the generic list's encoding, and the folder they go into.
class TShippedExportDialog : public QDialog {
    Q_OBJECT
public:
    // `folder`: where the files were written last (or the documents folder).
    TShippedExportDialog(QWidget* parent, const QString& folder);

    // The files ticked, by their format names ("generic", "rakuten", "amazon").
    QStringList Formats() const;
    QString Folder() const;

    QDateEdit* Date_From = nullptr;
    QDateEdit* Date_To = nullptr;
    QCheckBox* CheckBox_Generic = nullptr;
    QCheckBox* CheckBox_Rakuten = nullptr;
    QCheckBox* CheckBox_Amazon = nullptr;
    QRadioButton* Radio_Utf8 = nullptr; // the generic list's encoding; the platforms read Shift_JIS only
    QRadioButton* Radio_Sjis = nullptr;
    QLineEdit* Edit_Folder = nullptr;
    QPushButton* Button_Folder = nullptr; // a folder dialog
    QDialogButtonBox* Buttons = nullptr;

private:
    void ChooseFolder();
    void UpdateState();
};
