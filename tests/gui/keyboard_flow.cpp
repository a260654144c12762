// Filling the real main window from the keyboard: where Enter and Up lead, F2, the prompts, the caret.
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "gui/support/FormFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QtTest>

namespace {

QWidget* Focus() {
    return QApplication::focusWidget();
}

void Press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(Focus(), key, mods);
}

const char* Name(QWidget* w) {
    static QByteArray name;
    name = w ? w->objectName().toLatin1() : QByteArray("(none)");
    return name.constData();
}

} // namespace

class KeyboardFlow : public QObject {
    Q_OBJECT
    std::unique_ptr<FormFixture> fx;
    TForm_Main* w = nullptr;

private slots:
    void init() {
        fx = std::make_unique<FormFixture>();
        fx->Write("my0.txt", "\r\n\r\n\r\n\r\n\r\n");
        w = &fx->Start();
        QCOMPARE(Focus(), w->Edit_Zip);
    }
    void cleanup() { fx.reset(); }

    void enterWalksTheConsigneeAndGoodsAndEndsAtPieces() {
        QWidget* path[] = {w->Edit_Add1, w->Edit_Add2, w->Edit_Add3, w->Edit_Custo1,    w->Edit_tel,
                           w->Edit_G1,   w->Edit_G2,   w->Edit_G3,   w->KyNumEdit_KOSUU};
        for (QWidget* next : path) {
            Press(Qt::Key_Return);
            QVERIFY2(Focus() == next, Name(Focus()));
        }
        Press(Qt::Key_Return);
        QCOMPARE(Focus(), w->KyNumEdit_KOSUU);
        Press(Qt::Key_Enter); // the keypad's Enter too
        QCOMPARE(Focus(), w->KyNumEdit_KOSUU);
    }

    void enterWalksTheSenderBandToTheSaveButton() {
        w->Edit_MyZip->setFocus();
        QWidget* path[] = {w->Edit_MyADD1, w->Edit_MyADD2, w->Edit_My, w->Edit_MyTEL, w->BitBtn_My};
        for (QWidget* next : path) {
            Press(Qt::Key_Return);
            QVERIFY2(Focus() == next, Name(Focus()));
        }
        Press(Qt::Key_Return); // a focused button takes Enter as a press
        QCOMPARE(fx->boxes.Shown().at(0).text, QFromUtf8("ご依頼主を登録しますか?"));
    }

    void enterFromTheDateLeadsToTheFirstGoodsLine() {
        w->DateTimePicker_1->setFocus();
        QDate before = w->DateTimePicker_1->date();
        Press(Qt::Key_Return);
        QCOMPARE(Focus(), w->Edit_G1);
        Press(Qt::Key_Up);
        QCOMPARE(Focus(), w->DateTimePicker_1);
        Press(Qt::Key_Up);
        QCOMPARE(Focus(), w->CheckBox_Date_1);
        QCOMPARE(w->DateTimePicker_1->date(), before); // the key that moved on does not step the date
    }

    void tabLeavesTheDateAsAWhole() {
        w->CheckBox_Date_1->setFocus();
        Press(Qt::Key_Tab);
        QCOMPARE(Focus(), w->DateTimePicker_1);
        QDate before = w->DateTimePicker_1->date();
        Press(Qt::Key_Tab);
        QVERIFY2(Focus() == w->Edit_G1, Name(Focus()));
        Press(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(Focus(), w->DateTimePicker_1);
        Press(Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY2(Focus() == w->CheckBox_Date_1, Name(Focus()));
        QCOMPARE(w->DateTimePicker_1->date(), before);
    }

    void upMovesBackExceptInThePostcode() {
        Press(Qt::Key_Up);
        QCOMPARE(Focus(), w->Edit_Zip);
        w->KyNumEdit_KOSUU->setFocus();
        Press(Qt::Key_Up);
        QCOMPARE(Focus(), w->Edit_G3);
        Press(Qt::Key_Up);
        QCOMPARE(Focus(), w->Edit_G2);
        w->Edit_MyZip->setFocus();
        Press(Qt::Key_Up);
        QCOMPARE(Focus(), w->CheckBox_My);
        w->Edit_tel->setFocus();
        Press(Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(Focus(), w->Edit_Custo1);
    }

    // The function keys work from every control of the window, those without a row in the key table
    // (the amount, the payment boxes, the lists, the tabs, the buttons, the memo) included; Enter there
    // keeps its own meaning.
    void functionKeysWorkFromEveryControl() {
        int controls = 0;
        for (QWidget* control : w->findChildren<QWidget*>()) {
            if (control->focusPolicy() == Qt::NoFocus || !control->isVisibleTo(w) || !control->isEnabled())
                continue;
            ++controls;
            fx->boxes.Clear();
            control->setFocus(Qt::OtherFocusReason);
            QTest::keyClick(control, Qt::Key_F2);
            QVERIFY2(fx->boxes.Shown().size() == 1 && fx->boxes.Shown()[0].text == QFromUtf8("終了しますか?"),
                     qPrintable(control->objectName()));
        }
        QVERIFY(controls >= 30);
        w->KyNumEdit_PriceSub->setFocus();
        Press(Qt::Key_Return);
        QCOMPARE(Focus(), w->KyNumEdit_PriceSub);
    }

    // Where a cash-on-delivery slip is finished: F11 asks to print (repeating the amount), F5 previews.
    void printAndPreviewFromTheAmountAndThePaymentBoxes() {
        w = &StartAfresh(fx,
                         Cp932FromUtf8("[手差し]\r\nPrnNoIndex=0\r\n")); // one whose slip type has a printer
        w->KyNumEdit_PriceSub->SetText("12800");
        for (QWidget* control : std::initializer_list<QWidget*>{w->KyNumEdit_PriceSub, w->CheckBox_p1,
                                                                w->CheckBox_p2, w->CheckBox_p3}) {
            fx->boxes.Clear();
            control->setFocus();
            QTest::keyClick(control, Qt::Key_F11);
            QCOMPARE(fx->boxes.Shown().size(), std::size_t{1});
            QCOMPARE(fx->boxes.Shown()[0].text, QFromUtf8("代引金額 12,800円\n印刷しますか?"));
            control->setFocus();
            QTest::keyClick(control, Qt::Key_F5);
            QWidget* preview = QApplication::activeModalWidget();
            QVERIFY2(preview && preview->objectName() == QStringLiteral("Form_Preview"),
                     qPrintable(control->objectName()));
            preview->close();
        }
    }

    void f2AsksAndOnlyYesCloses() {
        w->Edit_G1->setFocus();
        Press(Qt::Key_F2);
        QCOMPARE(fx->boxes.Shown().size(), std::size_t(1));
        QCOMPARE(fx->boxes.Shown()[0].text, QFromUtf8("終了しますか?"));
        QVERIFY(w->isVisible());
        QCOMPARE(Focus(), w->Edit_Zip);
        fx->boxes.AnswerNext(true);
        w->KyNumEdit_KOSUU->setFocus();
        Press(Qt::Key_F2, Qt::ControlModifier);
        QVERIFY(!w->isVisible());
    }

    void f2ButtonAsksTheSameQuestion() {
        fx->boxes.AnswerNext(true);
        QTest::mouseClick(w->SpeedButton_F[2], Qt::LeftButton);
        QCOMPARE(fx->boxes.Shown().at(0).text, QFromUtf8("終了しますか?"));
        QVERIFY(!w->isVisible());
    }

    void closeBoxAsksNothingAndStillWritesTheSettings() {
        w->Edit_G1->setText(QStringLiteral("X1"));
        w->close();
        QVERIFY(fx->boxes.Shown().empty());
        fx->Stop();
        QVERIFY(fx->Read("tavo_Zaridi2.ini").find("E_G1=X1\r\n") != std::string::npos);
    }

    void entryPromptsFollowTheFocus() {
        struct {
            QWidget* field;
            const char* prompt;
        } cases[] = {
            {w->Edit_Add1, "お届け先のおところ①を入力して下さい"},
            {w->Edit_Add3, "お届け先のおところを入力して下さい"},
            {w->Edit_Custo1, "お届け先のおなまえを入力して下さい"},
            {w->Edit_tel, "お届け先のでんわを入力して下さい"},
            {w->Edit_G2, "品名を入力して下さい"},
            {w->KyNumEdit_KOSUU, "個数を入力して下さい"},
            {w->KyNumEdit_PriceSub, "代引き金額を入力して下さい"},
            {w->Edit_MyADD2, "ご依頼主のおところ②を入力して下さい"},
            {w->Edit_MyTEL, "ご依頼主のでんわを入力して下さい"},
            {w->Memo1, "テキストを貼り付けることができます　空行を除いて7行以内に収めてください"},
        };
        for (auto& c : cases) {
            c.field->setFocus(Qt::TabFocusReason);
            QCOMPARE(w->Panel_HelpMess->text(), QFromUtf8(c.prompt));
        }
        w->CheckBox_My->setFocus(); // no entry handler: the prompt stays
        QCOMPARE(w->Panel_HelpMess->text(),
                 QFromUtf8("テキストを貼り付けることができます　空行を除いて7行以内に収めてください"));
    }

    void tabbingIntoAFilledFieldPutsTheCaretAtTheEnd() {
        w->Edit_Custo1->setText(QFromUtf8("山田太郎"));
        w->Edit_Add3->setFocus();
        QTest::keyClick(w->Edit_Add3, Qt::Key_Tab);
        QCOMPARE(Focus(), w->Edit_Custo1);
        QVERIFY(!w->Edit_Custo1->hasSelectedText());
        QCOMPARE(w->Edit_Custo1->cursorPosition(), 4);
    }

    void addressWarningAtMoreThanFortyBytes() {
        w->Edit_Add1->setText(QString(20, QChar(0x3042))); // 20 full-width = 40 bytes
        w->Edit_Add2->setFocus();
        QCOMPARE(w->Label_Warning->text(), QString());
        w->Edit_Add1->setText(QString(20, QChar(0x3042)) + QLatin1Char('1'));
        QCOMPARE(w->Label_Warning->text(), QString()); // typing does not re-evaluate it
        w->Edit_Add1->setFocus();
        QCOMPARE(w->Label_Warning->text(),
                 QFromUtf8("警告:おところ①の文字数が多すぎます。　おところ②へ分割してください"));
        w->Edit_Add1->setText(QString(40, QLatin1Char('a')));
        w->Edit_Add3->setFocus();
        QCOMPARE(w->Label_Warning->text(), QString());
    }

    void comingBackToTheWindowIsNoNewEntry() {
        w->Edit_Add1->setFocus(Qt::TabFocusReason);
        w->Edit_Add1->setText(QString(21, QChar(0x3042))); // 42 bytes, typed after the entry
        w->Edit_Add1->setCursorPosition(3);
        QCOMPARE(w->Label_Warning->text(), QString());
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QCOMPARE(Focus(), w->Edit_Add1);
        QCOMPARE(w->Edit_Add1->cursorPosition(), 3);   // the caret stays where the user left it
        QCOMPARE(w->Label_Warning->text(), QString()); // and the warning waits for a real entry
    }

    void windowKeysWhenTheWindowItselfHoldsTheFocus() {
        w->setFocus();
        QTest::keyClick(w, Qt::Key_F2);
        QCOMPARE(fx->boxes.Shown().size(), std::size_t(1));
    }
};

QTEST_MAIN(KeyboardFlow)
#include "keyboard_flow.moc"
