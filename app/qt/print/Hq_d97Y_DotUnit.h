#pragma once
// THq_d97_Dot: a form that is never shown. It holds the slip routine SLIP97_Prn, which reads the main
// window's slip at the moment of printing and draws them on the current page, its text-mode partner
// SLIP97_Text, and two print dialogs.
#include "print/SlipLayout.h"

#include <QWidget>

#include <string>

class SlipDesk;
class THqPrintDialog;
class THqPrinterSetupDialog;

class THq_d97_Dot : public QWidget {
    Q_OBJECT
public:
    explicit THq_d97_Dot(SlipDesk& desk);
    ~THq_d97_Dot() override;

    THqPrintDialog* HqPrintDialog1 = nullptr; // Design name kept; no behaviour depends on it.
    THqPrinterSetupDialog* HqPrinterSetupDialog1 = nullptr;

    // Draws the slip onto HqPrinter's page; a document must have been begun. Raises the conversion
    // error for a resolution or margin caption that is not an integer, before anything is drawn.
    void SLIP97_Prn();
    // The slip in text mode: the bytes the current printer is sent, laid out at the captions' resolution
    // (the text mode's own) on the text-mode paper (escp::TextModePaper). Raises as SLIP97_Prn.
    std::string SLIP97_Text();

private:
    SlipDesk& desk_;
};

// The one instance, created at start-up after the main window; null before and after.
extern THq_d97_Dot* Hq_d97_Dot;
