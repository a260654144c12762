// The ten saved senders: one file per tab, loaded on tab change and saved by the save button.
#include "app/SenderFile.h"
#include "app/qt/common/HelpBar.h"
#include "app/qt/common/MessageBoxes.h"
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "platform/RuntimeErrors.h"
#include "platform/qt/QtText.h"

#include <QDir>
#include <QLabel>

#include <QTabBar>
#include <cerrno>

namespace {

// The tab index when it names a slot; a hand-edited settings file is the only way to miss.
bool SelectedSlot(const QTabBar* tabs, int& slot) {
    slot = tabs->currentIndex();
    if (slot >= 0 && slot < kSenderSlots) return true;
    msgbox::Notify(QStringLiteral("TabErr"));
    return false;
}

} // namespace

void TForm_Main::BitBtn_MyClick() {
    if (!msgbox::AskYesNo(QString::fromUtf8("ご依頼主を登録しますか?"))) {
        Edit_MyZip->setFocus(Qt::OtherFocusReason);
        return;
    }
    SenderRecord r{Cp(Edit_MyZip), Cp(Edit_MyADD1), Cp(Edit_MyADD2), Cp(Edit_My), Cp(Edit_MyTEL)};
    int slot = 0;
    if (!SelectedSlot(PageControl_My, slot)) return;
    SaveSenderFile(SenderFileName(slot), r);
    msgbox::Notify(QString::fromUtf8("ご依頼主を登録しました"));
    Help().Say(QStringLiteral("    "));
    Edit_MyZip->setFocus(Qt::OtherFocusReason);
}

void TForm_Main::SpeedButton_readMyClick() {
    ReadSender(false);
}

void TForm_Main::ReadSender(bool missingIsError) {
    int slot = 0;
    if (!SelectedSlot(PageControl_My, slot)) return;
    const std::string name = SenderFileName(slot);
    SenderRecord r;
    try {
        r = LoadSenderFile(name); // the fields change only once all is read
    } catch (const EInOutError& e) {
        if (e.ErrorCode() == ENOENT && !missingIsError) {
            // A tab nobody has saved yet: empty, ready to be filled in and saved there.
            Edit_Cls_My();
            Help().Notice(
                QFromUtf8("依頼主%1は未登録です。入力して「ご依頼主登録」で保存してください").arg(slot + 1));
            return;
        }
        // The box says which file: a lost sender file is worth looking for.
        throw EInOutError(e.ErrorCode(),
                          e.Message() + "\n" +
                              NativePath(QDir(QDir::currentPath()).filePath(QString::fromStdString(name))));
    }
    SetCp(Edit_MyZip, r.Zip);
    SetCp(Edit_MyADD1, r.Add1);
    SetCp(Edit_MyADD2, r.Add2);
    SetCp(Edit_My, r.Name);
    SetCp(Edit_MyTEL, r.Tel);
    if (r.cut) Help().Notice(QFromUtf8("ご依頼主の長すぎる行を 2047 バイトで切りました"));
}

void TForm_Main::PageControl_MyChange() {
    SpeedButton_readMyClick();
}
