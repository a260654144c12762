// The paste memo of the main window and the transfer of its text into the consignee fields.
#include "app/qt/common/HelpBar.h"
#include "app/qt/common/MessageBoxes.h"
#include "app/qt/form/SlipBinding.h"
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/form/controls/PasteMemo.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "platform/qt/QtText.h"
#include "transfer/Compact.h"
#include "transfer/Transfer.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

namespace {

void SetMemoColour(QPlainTextEdit* memo, bool empty) {
    QColor wanted = empty ? QColor(192, 192, 192) : memo->parentWidget()->palette().color(QPalette::Base);
    if (memo->palette().color(QPalette::Base) == wanted) return; // typing does not restyle the memo
    QPalette p = memo->palette();
    p.setColor(QPalette::Base, wanted);
    memo->setPalette(p);
}

// The memo's first lines; a long paste below them is never converted, nor the end of a line far
// longer than the transfer keeps (typed or pasted bit by bit: a single paste is cut already).
std::vector<std::string> FirstLines(const QPlainTextEdit* memo, std::size_t count, bool& cut) {
    QStringList head;
    for (QTextBlock b = memo->document()->begin(); b.isValid() && std::size_t(head.size()) < count;
         b = b.next()) {
        const QString line = b.text();
        head << CutUnits(line, PasteMemo::kLineUnitsKept);
        cut = cut || head.back().size() < line.size();
    }
    return FirstMemoLines(ToCp932(head.join(QLatin1Char('\n'))), count);
}

QString JoinLines(const std::vector<std::string>& lines) {
    QStringList out;
    for (const std::string& line : lines)
        out << FromCp932(line);
    return out.join(QLatin1Char('\n'));
}

} // namespace

void TForm_Main::Memo1Change() {
    SetMemoColour(Memo1, Memo1->document()->isEmpty());
}

void TForm_Main::Memo1Enter() {
    Help().Prompt(
        QFromUtf8("テキストを貼り付けることができます　%1に収めてください").arg(PasteMemo::LinesHint()));
}

void TForm_Main::BitBtn_MemoCLSClick() {
    Memo1->clear();
    Memo2.clear();
    SetMemoColour(Memo1, true);
}

void TForm_Main::BitBtn_1Click() {
    bool cut = false;
    TransferResult r = RunTransfer(FirstLines(Memo1, kMemoLinesRead, cut), Slip().Read());
    if (cut || r.cut) Help().Notice(QFromUtf8("貼り付けた長すぎる行を 2047 バイトで切りました"));

    Memo1->setPlainText(JoinLines(r.memo));
    if (r.noText) {
        msgbox::Notify(FromCp932(std::string(kNoTextMessage)));
    } else {
        Edit_Cls();
        // Each field through its change handler, as typing would (the third address line comes back
        // as it was).
        Slip().Write(r.fields, FilledByTransfer);
        Edit_Zip->setFocus(Qt::OtherFocusReason);
        PostcodeAfterTransfer();
        // The amount belongs to the slip before: a new consignee rarely owes the same.
        if (const QString amount = AmountText(); !amount.isEmpty()) {
            MarkAmountForCheck(true);
            Help().Notice(QFromUtf8("代引金額 %1 は前のお届け先のままです。確かめてください").arg(amount));
        }
    }
    Edit_Warning();

    Memo1->moveCursor(QTextCursor::Start);
    Memo1->verticalScrollBar()->setValue(0);
    Memo1->horizontalScrollBar()->setValue(0);
}
