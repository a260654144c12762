// The paste memo of the main window and the transfer of its text into the consignee fields.
#include "app/LimitedLineEdit.h"
#include "app/tavo_dprintUnit.h"

#include <QPlainTextEdit>

namespace {

void SetMemoColour(QPlainTextEdit* memo, bool empty) {
    QPalette p = memo->palette();
    p.setColor(QPalette::Base,
               empty ? QColor(192, 192, 192) : memo->parentWidget()->palette().color(QPalette::Base));
    memo->setPalette(p);
}

} // namespace

void TForm_Main::Memo1Change() {
    SetMemoColour(Memo1, Memo1->document()->isEmpty());
}

void TForm_Main::Memo1Enter() {
    SetHelp("テキストを貼り付けることができます　７行以内に収めてください");
}

void TForm_Main::BitBtn_MemoCLSClick() {
    Memo1->clear();
    Memo2.clear();
    SetMemoColour(Memo1, true);
}

void TForm_Main::BitBtn_1Click() {
    // TRANSFER NOT WIRED YET
}

void TForm_Main::SpeedButton_ZIP2Click() {}
void TForm_Main::SpeedButton_TEL2Click() {}
