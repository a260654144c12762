#pragma once
// TForm_SLIP97YPrn: the print-position dialog. It shows the margins in force for the slip type and
// registers new ones in tavo_a500.ini and in the main window. A test page printed at the margins being
// edited shows how far off the form the text lands; the offset measured on it in millimetres is added
// to the margins as whole dots. Below, the number of the next pre-printed slip in the printer for the
// slip type (its stack counter, NextSlipNo in the same file) is set.
#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SlipDesk;
class TKyNumEdit;

class TForm_SLIP97YPrn : public QDialog {
    Q_OBJECT
public:
    explicit TForm_SLIP97YPrn(SlipDesk& desk);
    ~TForm_SLIP97YPrn() override;

    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    TKyNumEdit* KyNumEdit_TOP = nullptr;
    TKyNumEdit* KyNumEdit_LEFT = nullptr;
    QPushButton* BitBtn_MRGN = nullptr;
    QGroupBox* GroupBox_Calibrate = nullptr;
    QPushButton* BitBtn_TestPrint = nullptr;
    QLabel* Label_Right = nullptr;
    QLabel* Label_Down = nullptr;
    TKyNumEdit* KyNumEdit_RIGHT = nullptr; // millimetres
    TKyNumEdit* KyNumEdit_DOWN = nullptr;
    QPushButton* BitBtn_MmAdd = nullptr;
    QLabel* Label_Resolution = nullptr; // the resolution the millimetres are converted at
    QGroupBox* GroupBox_SlipNo = nullptr;
    QLineEdit* Edit_NextSlipNo = nullptr; // typed or scanned
    QPushButton* BitBtn_NextSlipNo = nullptr;

    void FormShow();
    void BitBtn_MRGNClick();
    void BitBtn_TestPrintClick();
    void BitBtn_MmAddClick();
    // Sets the slip type's counter to the number in Edit_NextSlipNo (a blank one clears it), checked as
    // every entered number is; a number a stack cannot run on is refused and nothing changes.
    void BitBtn_NextSlipNoClick();
    void KyNumEdit_TOPKeyDown(int key);
    void KyNumEdit_LEFTKeyDown(int key);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    SlipDesk& desk_;
};

// The one instance, created at start-up after the main window; null before and after.
extern TForm_SLIP97YPrn* Form_SLIP97YPrn;
