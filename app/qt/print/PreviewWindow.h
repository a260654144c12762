#pragma once
// TForm_Preview: the slip as F11 would print it now, on the paper of the printer F11 would use, over
// the outlines of the form's boxes; in text mode as the printer's character grid. F11 prints from here
// as from the main window; Escape closes.
#include "print/PrintTarget.h"

#include <QDialog>
#include <QImage>

class QLabel;
class QPushButton;
class QScrollArea;
class SlipDesk;

class TForm_Preview : public QDialog {
    Q_OBJECT
public:
    enum class Zoom { Fit, Actual, Double };

    explicit TForm_Preview(SlipDesk& desk);
    ~TForm_Preview() override;

    QLabel* Label_Target = nullptr;  // printer, paper, source, resolution, margins
    QLabel* Label_Missing = nullptr; // which printer is missing, when one is
    QLabel* Label_Error = nullptr;   // the layout's message, in place of the page
    QScrollArea* ScrollBox_Page = nullptr;
    QLabel* Image_Page = nullptr;
    QPushButton* Button_Fit = nullptr;
    QPushButton* Button_Actual = nullptr;
    QPushButton* Button_Double = nullptr;
    QPushButton* Button_Print = nullptr;
    QPushButton* Button_Close = nullptr;

    // Reads the main window and the printer afresh and draws the page.
    void Refresh();
    void SetZoom(Zoom zoom);

    // The page, one pixel per device dot; null when the layout failed.
    const QImage& PageImage() const { return page_; }
    const PrintTarget& Target() const { return target_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowPage();

    SlipDesk& desk_;
    PrintTarget target_;
    QImage page_;
    Zoom zoom_ = Zoom::Fit;
};

// The open preview; null while none is open.
extern TForm_Preview* Form_Preview;
