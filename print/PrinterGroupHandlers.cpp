// Printer registration, printer setup and the print job of the main window.
// Printing is not built yet: these handlers do nothing until it is.
#include "app/tavo_dprintUnit.h"

void TForm_Main::ComboBox_SELChange() {}      // printing not built: no registration is loaded
void TForm_Main::SpeedButton_PRNSETClick() {} // printing not built: the printer lists stay empty
void TForm_Main::SpeedButton_F7Click() {}     // printing not built: no printer setup
void TForm_Main::SpeedButton_F11Click() {}    // printing not built: nothing is printed
void TForm_Main::BitBtn_PrnSetClick() {}      // printing not built: nothing is registered
void TForm_Main::BitBtn_PrnSet2Click() {}     // printing not built: no print-position dialog
