#pragma once
// The printer choice dialog (printer, paper size, paper source, and at registration the print mode) in
// its two designed guises.
#include "printer/HqPrinter.h"
#include "printer/PrintMode.h"

#include <QDialog>

#include <cstdint>
#include <vector>

class QComboBox;
class QDialogButtonBox;
class QFormLayout;

// A small modal dialog over the printer object's visible printers. OK makes the chosen printer current
// with the chosen paper and source.
class TPrinterChoiceForm : public QDialog {
    Q_OBJECT
public:
    enum class Kind { Setup, Print };
    // Without a printer object the program's one (HqPrinter) is used.
    explicit TPrinterChoiceForm(Kind kind, QWidget* parent = nullptr, THqPrinter* printer = nullptr);

    // Shows the dialog; true only when the user confirmed with OK, and the choice is then in force.
    // With `mode` the print mode is offered too, starting at *mode, and OK sets it.
    bool Execute(PrintMode* mode = nullptr);

    // Made by the first Execute.
    QComboBox* ComboBox_Printer = nullptr;
    QComboBox* ComboBox_Paper = nullptr;
    QComboBox* ComboBox_Bin = nullptr;
    QComboBox* ComboBox_Mode = nullptr; // graphics, text: shown only when offered
    QDialogButtonBox* Buttons = nullptr;

protected:
    THqPrinter& Printer();

private:
    void Build();
    void Fill();
    void FillLists(int printer);

    Kind kind_;
    THqPrinter* printer_;
    QFormLayout* form_ = nullptr;
    std::vector<std::uint16_t> paperNumbers_; // parallel to ComboBox_Paper
    std::vector<std::uint16_t> binNumbers_;   // parallel to ComboBox_Bin
};

class THqPrinterSetupDialog : public TPrinterChoiceForm {
    Q_OBJECT
public:
    explicit THqPrinterSetupDialog(QWidget* parent = nullptr, THqPrinter* printer = nullptr)
        : TPrinterChoiceForm(Kind::Setup, parent, printer) {}
};

// Design name kept; no behaviour depends on it.
class THqPrintDialog : public TPrinterChoiceForm {
    Q_OBJECT
public:
    explicit THqPrintDialog(QWidget* parent = nullptr, THqPrinter* printer = nullptr)
        : TPrinterChoiceForm(Kind::Print, parent, printer) {}
};
