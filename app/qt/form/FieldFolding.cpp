// The postcode and the phone are folded to half-width as they are typed or filled in; a postcode of
// seven digits is written NNN-NNNN once its field is left, as the slip's boxes take it.
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "slip/Postcode.h"
#include "transfer/ZipTel.h"

namespace {

// Writing back an unchanged text would only raise another change.
void FoldField(QLineEdit* field) {
    std::string text = TForm_Main::Cp(field);
    std::string folded = FoldToHalfWidth(text);
    if (folded != text) TForm_Main::SetCp(field, folded);
}

} // namespace

void TForm_Main::Edit_ZipChange() {
    SpeedButton_ZIP2Click();
}

void TForm_Main::Edit_telChange() {
    SpeedButton_TEL2Click();
}

void TForm_Main::SpeedButton_ZIP2Click() {
    FoldField(Edit_Zip);
}

void TForm_Main::SpeedButton_TEL2Click() {
    FoldField(Edit_tel);
}

void TForm_Main::FormatPostcode(QLineEdit* zipField) {
    const std::string text = Cp(zipField);
    const std::string formatted = slip::SlipPostcode(text);
    if (formatted != text) SetCp(zipField, formatted);
}
