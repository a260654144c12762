// Keyboard flow of the main window: Enter moves on, Up moves back, F2/F5/F6/F7/F8/F11, the entry prompts.
#include "app/KeyboardFlow.h"
#include "app/qt/common/ErrorBox.h"
#include "app/qt/common/HelpBar.h"
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "platform/qt/QtText.h"
#include "transfer/AddressWarning.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>

namespace {

int VirtualKeyOf(const QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_F1:
        return VK_F1;
    case Qt::Key_F2:
        return VK_F2;
    case Qt::Key_F5:
        return VK_F5;
    case Qt::Key_F6:
        return VK_F6;
    case Qt::Key_F7:
        return VK_F7;
    case Qt::Key_F8:
        return VK_F8;
    case Qt::Key_F11:
        return VK_F11;
    default:
        return 0;
    }
}

} // namespace

void TForm_Main::InstallKeyHandlers() {
    keyHandlers_ = {
        {Edit_Add1, KeyHandler::Form},
        {Edit_Add2, KeyHandler::Form},
        {Edit_Add3, KeyHandler::Form},
        {Edit_Custo1, KeyHandler::Form},
        {DateTimePicker_1, KeyHandler::Form},
        {Edit_G1, KeyHandler::Form},
        {Edit_G3, KeyHandler::Form},
        {Edit_MyZip, KeyHandler::Form},
        {Edit_MyADD1, KeyHandler::Form},
        {Edit_MyADD2, KeyHandler::Form},
        {Edit_My, KeyHandler::Form},
        {Edit_MyTEL, KeyHandler::Form},
        {Edit_Zip, KeyHandler::Zip},
        {Edit_tel, KeyHandler::Tel},
        {Edit_G2, KeyHandler::G2},
        {KyNumEdit_KOSUU, KeyHandler::End},
    };
    // Every other control takes the function keys too (the memo, the amount, the check boxes, the
    // lists, the buttons): the key table's promise holds wherever the focus is.
    for (QWidget* control : findChildren<QWidget*>())
        if (control->window() == this) control->installEventFilter(this);
}

void TForm_Main::SetTabOrder() {
    QWidget* order[] = {Edit_Zip,    Edit_Add1,       Edit_Add2,          Edit_Add3,        Edit_Custo1,
                        Edit_tel,    CheckBox_Date_1, DateTimePicker_1,   Edit_G1,          Edit_G2,
                        Edit_G3,     KyNumEdit_KOSUU, KyNumEdit_PriceSub, KyNumEdit_TaxSub, CheckBox_p1,
                        CheckBox_p2, CheckBox_p3,     ComboBox_SEL,       BitBtn_SendMail,  PageControl_My,
                        CheckBox_My, Edit_MyZip,      Edit_MyADD1,        Edit_MyADD2,      Edit_My,
                        Edit_MyTEL,  BitBtn_My};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}

bool TForm_Main::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* press = static_cast<QKeyEvent*>(event);
        if (watched == DateTimePicker_1 && (press->key() == Qt::Key_Tab || press->key() == Qt::Key_Backtab) &&
            !(press->modifiers() & Qt::ControlModifier)) {
            // Tab leaves the date as a whole instead of stepping through its parts (the arrows do that).
            focusNextPrevChild(press->key() == Qt::Key_Tab && !(press->modifiers() & Qt::ShiftModifier));
            return true;
        }
        for (auto& [w, h] : keyHandlers_) {
            if (w != watched) continue;
            auto* key = static_cast<QKeyEvent*>(event);
            int vk = VirtualKeyOf(key);
            if (vk == 0) return false;
            KeyHandler handler = h;
            Guarded([&] { (this->*KeyDownHandlerOf(handler))(static_cast<QWidget*>(watched), vk); });
            // FormKeyPress: Enter reaches no one-line field. The other keys acted on here have no use
            // in the field, and one that moved the focus must not act on the field it left.
            return vk != VK_UP || KeyDownAction(handler, vk) != KeyAction::None;
        }
        auto* control = qobject_cast<QWidget*>(watched);
        const int vk = VirtualKeyOf(press);
        if (control && control->window() == this && IsWindowKey(vk)) {
            Guarded([&] { FormKeyDown(control, vk); });
            return true;
        }
    } else if (event->type() == QEvent::FocusIn) {
        if (watched == Memo1) Guarded([this] { Memo1Enter(); });
    }
    return QWidget::eventFilter(watched, event);
}

void TForm_Main::keyPressEvent(QKeyEvent* event) {
    // Keys a control left unhandled bubble up here; the window's own handler is only for keys typed
    // while the window itself holds the focus.
    QWidget* focus = QApplication::focusWidget();
    int vk = VirtualKeyOf(event);
    if ((focus == this || focus == nullptr) && vk != 0) {
        Guarded([&] { FormKeyDown(this, vk); });
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TForm_Main::RunKeyDown(KeyHandler handler, QWidget* sender, int key) {
    // A postcode's address is filled in before Enter moves on; what the lookup says outlasts the prompt
    // of the field the focus moves to.
    const std::string said = key == VK_RETURN ? PostcodeToAddress(sender) : std::string();
    switch (KeyDownAction(handler, key)) {
    case KeyAction::None:
        break;
    case KeyAction::Exit:
        SpeedButton_F2Click();
        break;
    case KeyAction::FocusPrevious:
        focusNextPrevChild(false);
        break;
    case KeyAction::Preview:
        SpeedButton_F5Click();
        break;
    case KeyAction::History:
        SpeedButton_F6Click();
        break;
    case KeyAction::PrinterSetup:
        SpeedButton_F7Click();
        break;
    case KeyAction::Print:
        SpeedButton_F11Click();
        break;
    case KeyAction::FocusNext:
        focusNextPrevChild(true);
        break;
    case KeyAction::FocusG1:
        Edit_G1->setFocus(Qt::TabFocusReason);
        break;
    case KeyAction::OrderQueue:
        SpeedButton_F8Click();
        break;
    case KeyAction::Help:
        SpeedButton_F1Click();
        break;
    }
    if (!said.empty()) Help().Say(FromCp932(said));
}

TForm_Main::KeyDownHandler TForm_Main::KeyDownHandlerOf(KeyHandler handler) {
    switch (handler) {
    case KeyHandler::Zip:
        return &TForm_Main::Edit_ZipKeyDown;
    case KeyHandler::Tel:
        return &TForm_Main::Edit_telKeyDown;
    case KeyHandler::G2:
        return &TForm_Main::Edit_G2KeyDown;
    case KeyHandler::End:
        return &TForm_Main::Edit_End_KeyDown;
    case KeyHandler::Form:
        break;
    }
    return &TForm_Main::FormKeyDown;
}

void TForm_Main::FormKeyDown(QWidget* sender, int key) {
    RunKeyDown(KeyHandler::Form, sender, key);
}
void TForm_Main::Edit_ZipKeyDown(QWidget* sender, int key) {
    RunKeyDown(KeyHandler::Zip, sender, key);
}
void TForm_Main::Edit_telKeyDown(QWidget* sender, int key) {
    RunKeyDown(KeyHandler::Tel, sender, key);
}
void TForm_Main::Edit_G2KeyDown(QWidget* sender, int key) {
    RunKeyDown(KeyHandler::G2, sender, key);
}
void TForm_Main::Edit_End_KeyDown(QWidget* sender, int key) {
    RunKeyDown(KeyHandler::End, sender, key);
}

void TForm_Main::SetHelp(const char* utf8Prompt) {
    Help().Prompt(QString::fromUtf8(utf8Prompt));
}

namespace {
// Entry into a one-line field: caret after the last character, nothing selected.
void CaretToEnd(QLineEdit* e) {
    e->deselect();
    e->setCursorPosition(static_cast<int>(e->text().size()));
}
} // namespace

void TForm_Main::Edit_ZipEnter() {
    SetHelp("お届け先の郵便番号を入力して下さい");
    CaretToEnd(Edit_Zip);
}
void TForm_Main::Edit_Add1Enter() {
    Edit_Warning();
    SetHelp("お届け先のおところ①を入力して下さい");
    CaretToEnd(Edit_Add1);
}
void TForm_Main::Edit_Add2Enter() {
    Edit_Warning();
    SetHelp("お届け先のおところを入力して下さい");
    if (auto* e = qobject_cast<QLineEdit*>(QApplication::focusWidget())) CaretToEnd(e);
}
void TForm_Main::Edit_Custo1Enter() {
    SetHelp("お届け先のおなまえを入力して下さい");
    CaretToEnd(Edit_Custo1);
}
void TForm_Main::Edit_telEnter() {
    SetHelp("お届け先のでんわを入力して下さい");
    CaretToEnd(Edit_tel);
}
void TForm_Main::Edit_G1Enter() {
    SetHelp("品名を入力して下さい");
    if (auto* e = qobject_cast<QLineEdit*>(QApplication::focusWidget())) CaretToEnd(e);
}
void TForm_Main::Edit_MyZipEnter() {
    SetHelp("ご依頼主の郵便番号を入力して下さい");
    CaretToEnd(Edit_MyZip);
}
void TForm_Main::Edit_MyADD1Enter() {
    SetHelp("ご依頼主のおところ①を入力して下さい");
    CaretToEnd(Edit_MyADD1);
}
void TForm_Main::Edit_MyADD2Enter() {
    SetHelp("ご依頼主のおところ②を入力して下さい");
    CaretToEnd(Edit_MyADD2);
}
void TForm_Main::Edit_MyEnter() {
    SetHelp("ご依頼主のおなまえを入力して下さい");
    CaretToEnd(Edit_My);
}
void TForm_Main::Edit_MyTELEnter() {
    SetHelp("ご依頼主のでんわを入力して下さい");
    CaretToEnd(Edit_MyTEL);
}
void TForm_Main::KyNumEdit_KOSUUEnter() {
    SetHelp("個数を入力して下さい");
}
void TForm_Main::KyNumEdit_PriceSubEnter() {
    SetHelp("代引き金額を入力して下さい");
}

void TForm_Main::Edit_Warning() {
    Label_Warning->setText(FromCp932(AddressWarning(Cp(Edit_Add1))));
}
