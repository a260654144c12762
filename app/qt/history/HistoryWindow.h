#pragma once
// The history window (F6): the printed slips, newest first, searched by name, phone, postcode, address,
// days of printing, tracking number or order reference. Enter or a double click puts the selected slip
// back into the main window for a reprint; digits typed or scanned onto the selected row are its
// tracking number; a spoiled slip is marked void (書き損じ); the stack counter of the main window's slip
// type is brought into step with the slip in the printer (番号を合わせる); the shipped files of a range of
// days (the generic list, each platform's upload) go out into a folder.
#include "history/HistoryRecord.h"
#include "shipped/SheetWriter.h"

#include <QDate>
#include <QDialog>

class QCheckBox;
class QDateEdit;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class SlipDesk;
class THistoryDesk;
class THistoryModel;

class THistoryWindow : public QDialog {
    Q_OBJECT
public:
    THistoryWindow(SlipDesk& slipDesk, THistoryDesk& desk);

    // Records kept back go in, then the newest slips are shown with the last one printed here selected.
    // Raises when the store cannot be read: the window then stays closed.
    bool Open();
    // The search the fields describe. Raises when the store cannot be read.
    void Search();
    // The selected slip into the main window, which comes forward so that F11 reprints it.
    void LoadSelected();
    // Stores `number` on the selected row, then selects the next row below that has none. A number is
    // checked first: a wrong check digit is refused on the status line and nothing is stored; a number
    // of no known shape is stored only when the question about it is answered Yes.
    void StoreTracking(const QString& number);
    // Marks the selected slip void after a question: it keeps its number, and a reprint of it takes the
    // next number of the stack.
    void VoidSelected();
    // Asks for the number of the slip in the printer for the main window's slip type; the slips between
    // the counter and it are recorded void (after a question), and the counter is set to it.
    void ResyncClick();
    // Asks for the ship days, the files and the folder (where they went last), then writes them.
    void ExportClick();
    // The shipped files of the ship days [from, to] ("generic", "rakuten", "amazon"; the generic list in
    // `encoding`) written into `folder`, each atomically, under their own names; the slips left out of
    // them are listed in a notice. Raises when the store cannot be read, the carrier setting names no
    // carrier, an ID cannot be written exactly (then no file is written) or a file cannot be written.
    void ExportTo(QDate from, QDate to, const QStringList& formats, shipped::TextEncoding encoding,
                  const QString& folder);

    int RowCount() const;
    const history::HistoryRecord& Row(int row) const;
    int CurrentRow() const; // -1 when none

    QLineEdit* Edit_Name = nullptr;
    QLineEdit* Edit_Phone = nullptr;
    QLineEdit* Edit_Zip = nullptr;
    QLineEdit* Edit_Address = nullptr;
    QLineEdit* Edit_Tracking = nullptr;
    QLineEdit* Edit_Order = nullptr;
    QCheckBox* CheckBox_Days = nullptr;
    QDateEdit* Date_From = nullptr;
    QDateEdit* Date_To = nullptr;
    QPushButton* Button_Search = nullptr;
    QTableView* Grid = nullptr;
    QLineEdit* Edit_Scan = nullptr; // where typed or scanned slip numbers go
    QPushButton* Button_Void = nullptr;
    QPushButton* Button_Resync = nullptr;
    QPushButton* Button_Export = nullptr;
    QLabel* Label_Status = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Runs `use` on the store; a store that cannot be used raises with the window's own first line.
    template <class F>
    void WithStore(F&& use);
    // The search again once records went in, when the window is shown; a failure goes on the status
    // line, since nothing asked for it.
    void Refresh();
    void Select(int row);
    void ShowStatus(const QString& text, bool warning = false);

    SlipDesk& slipDesk_;
    THistoryDesk& desk_;
    THistoryModel* model_ = nullptr;
};
