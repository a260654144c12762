// TKyNumEdit as a user meets it: keys, clipboard, menu, focus moves, input method, mouse, painting.
#include "widgets/qt/KyNumEdit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QImage>
#include <QInputMethodEvent>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <vector>

namespace {

// A window with three fields in tab order, the middle one under test.
struct Form {
    QWidget window;
    TKyNumEdit* first;
    TKyNumEdit* field;
    TKyNumEdit* last;
    Form() {
        first = new TKyNumEdit(&window);
        field = new TKyNumEdit(&window);
        last = new TKyNumEdit(&window);
        first->move(0, 0);
        field->move(0, 30);
        last->move(0, 60);
        window.resize(200, 100);
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window)) qWarning("window not active");
        field->setFocus(Qt::TabFocusReason);
    }
};

int CountColor(const QImage& image, const QRect& area, const QColor& color) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) == color) ++n;
    return n;
}

} // namespace

class KyNumEditWidget : public QObject {
    Q_OBJECT
private slots:
    void init() { QGuiApplication::clipboard()->clear(); }

    void defaultsAndHeight() {
        TKyNumEdit e;
        QCOMPARE(e.width(), 121);
        QCOMPARE(e.height(), e.TextHeight() + 2 + 2 + 4); // AutoSize: text, margins, sunken border
        e.SetAutoSize(false);
        e.resize(35, 20);
        e.SetTopMargin(1);
        QCOMPARE(e.height(), 20);
        QVERIFY(e.OwnMenu() == e.PopupMenu());
        {
            QMenu other;
            e.SetPopupMenu(&other);
            QVERIFY(e.PopupMenu() == &other);
        }
        QVERIFY(e.PopupMenu() == nullptr); // the assigned menu went, and with it the context menu
        e.SetPopupMenu(e.OwnMenu());
        QVERIFY(e.OwnMenu() == e.PopupMenu());
        e.SetPopupMenu(nullptr);
        QVERIFY(e.PopupMenu() == nullptr);
        QCOMPARE(e.Text(), std::string());
    }

    void typingBuildsTheValueAndFiresChanged() {
        Form f;
        QSignalSpy changed(f.field, &TKyNumEdit::changed);
        QTest::keyClicks(f.field, "01234.5");
        QCOMPARE(f.field->text(), QString("1234.5"));
        QCOMPARE(f.field->DisplayText(), std::string("1,234.5"));
        QCOMPARE(changed.count(), 7);
        QTest::keyClick(f.field, Qt::Key_Backspace);
        QCOMPARE(f.field->text(), QString("1234"));
        QTest::keyClick(f.field, Qt::Key_Delete);
        QCOMPARE(f.field->text(), QString("123"));
        QCOMPARE(changed.count(), 9);
    }

    void refusedKeysBeepOnlyWithErrorBeep() {
        Form f;
        QSignalSpy beeps(f.field, &TKyNumEdit::beeped);
        QTest::keyClicks(f.field, "a");
        QCOMPARE(beeps.count(), 1);
        f.field->SetErrorBeep(false);
        QTest::keyClicks(f.field, "b");
        QCOMPARE(beeps.count(), 1);
        QCOMPARE(f.field->text(), QString());
    }

    void typingOverSelectionUndoesBackSelected() {
        Form f;
        f.field->SetText("1234");
        QTest::keyClick(f.field, Qt::Key_A, Qt::ControlModifier);
        QVERIFY(f.field->Selected());
        QTest::keyClicks(f.field, "7");
        QCOMPARE(f.field->text(), QString("7"));
        f.field->Undo();
        QCOMPARE(f.field->text(), QString("1234"));
        QVERIFY(f.field->Selected());
    }

    void clipboardKeys() {
        Form f;
        QClipboard* clip = QGuiApplication::clipboard();
        f.field->SetText("5");
        clip->setText("1,000");
        QTest::keyClick(f.field, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.field->text(), QString("51000"));
        QTest::keyClick(f.field, Qt::Key_C, Qt::ControlModifier); // nothing selected
        QCOMPARE(clip->text(), QString("1,000"));
        QTest::keyClick(f.field, Qt::Key_Left, Qt::ShiftModifier);
        QTest::keyClick(f.field, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clip->text(), QString("51000"));
        QTest::keyClick(f.field, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(f.field->text(), QString());
        clip->setText("１２");
        QTest::keyClick(f.field, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.field->text(), QString("12"));
    }

    void controlLettersReachOnKeyPressAsTheirCodesWithoutBeep() {
        Form f;
        QSignalSpy beeps(f.field, &TKyNumEdit::beeped);
        std::vector<unsigned> codes;
        f.field->OnKeyPress = [&](unsigned& c) { codes.push_back(c); };
        f.field->SetText("5");
        QGuiApplication::clipboard()->setText("7");
        for (Qt::Key key : {Qt::Key_A, Qt::Key_C, Qt::Key_V, Qt::Key_X})
            QTest::keyClick(f.field, key, Qt::ControlModifier);
        QCOMPARE(codes, (std::vector<unsigned>{1, 3, 22, 24}));
        QCOMPARE(beeps.count(), 0);
    }

    void imageCopyPutsTheDisplayText() {
        Form f;
        f.field->SetImageCopy(true);
        f.field->SetRightMark("\x89\x7E"); // 円
        f.field->SetText("1234");
        f.field->SelectAll();
        f.field->CopyToClipboard();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("1,234円"));
    }

    void arrowsSelectAndDeselect() {
        Form f;
        f.field->SetText("12");
        QTest::keyClick(f.field, Qt::Key_Right, Qt::ShiftModifier);
        QVERIFY(f.field->Selected());
        QTest::keyClick(f.field, Qt::Key_End);
        QVERIFY(!f.field->Selected());
        QTest::keyClick(f.field, Qt::Key_Left, Qt::ShiftModifier | Qt::ControlModifier);
        QVERIFY(!f.field->Selected());
    }

    void contextMenuEnablingAndDelete() {
        Form f;
        f.field->SetText("250");
        f.field->Deselect();
        QGuiApplication::clipboard()->clear();
        f.field->MenuPopup();
        QCOMPARE(f.field->MenuItem(0)->text(), QString("元に戻す(&U)"));
        QCOMPARE(f.field->MenuItem(5)->text(), QString("削除(&D)"));
        QVERIFY(f.field->MenuItem(1)->isSeparator());
        QVERIFY(f.field->MenuItem(6)->isSeparator());
        QVERIFY(!f.field->MenuItem(0)->isEnabled());
        QVERIFY(!f.field->MenuItem(3)->isEnabled());
        QVERIFY(!f.field->MenuItem(4)->isEnabled());
        QVERIFY(f.field->MenuItem(7)->isEnabled());
        f.field->MenuItem(7)->trigger();
        QGuiApplication::clipboard()->setText("9");
        f.field->MenuPopup();
        QVERIFY(f.field->MenuItem(2)->isEnabled());
        QVERIFY(f.field->MenuItem(4)->isEnabled());
        QVERIFY(f.field->MenuItem(5)->isEnabled());
        QVERIFY(!f.field->MenuItem(7)->isEnabled());
        f.field->MenuItem(5)->trigger();
        QCOMPARE(f.field->text(), QString());
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("9"));
        f.field->MenuPopup();
        QVERIFY(f.field->MenuItem(0)->isEnabled());
        f.field->MenuItem(0)->trigger();
        QCOMPARE(f.field->text(), QString("250"));
        f.field->SetReadOnly(true);
        f.field->MenuPopup();
        QVERIFY(!f.field->MenuItem(0)->isEnabled());
        QVERIFY(!f.field->MenuItem(2)->isEnabled());
        QVERIFY(f.field->MenuItem(3)->isEnabled());
        QVERIFY(!f.field->MenuItem(4)->isEnabled());
    }

    void menuPopupTakesTheFocus() {
        Form f;
        f.first->setFocus();
        f.field->SetText("3");
        f.field->MenuPopup();
        QVERIFY(f.field->hasFocus());
        QVERIFY(f.field->Selected()); // entering with AutoSelect
    }

    void enterMovesFocusOnlyWhenAsked() {
        Form f;
        QSignalSpy beeps(f.field, &TKyNumEdit::beeped);
        QTest::keyClick(f.field, Qt::Key_Return);
        QCoreApplication::processEvents();
        QVERIFY(f.field->hasFocus());
        QCOMPARE(beeps.count(), 1);
        f.field->SetEnterFocusMove(true);
        QTest::keyClick(f.field, Qt::Key_Return);
        QVERIFY(f.field->hasFocus()); // posted: moves after the key
        QTRY_VERIFY(f.last->hasFocus());
        QCOMPARE(beeps.count(), 1);
    }

    void arrowsMoveFocusWithArrowFocusMove() {
        Form f;
        QTest::keyClick(f.field, Qt::Key_Down);
        QCoreApplication::processEvents();
        QVERIFY(f.field->hasFocus());
        f.field->SetArrowFocusMove(true);
        QTest::keyClick(f.field, Qt::Key_Up);
        QTRY_VERIFY(f.first->hasFocus());
        f.field->setFocus();
        QTest::keyClick(f.field, Qt::Key_Down);
        QTRY_VERIFY(f.last->hasFocus());
        f.field->setFocus();
        f.field->SetOptions({TKyNumEditOption::eoArrowDown});
        QTest::keyClick(f.field, Qt::Key_Up);
        QCoreApplication::processEvents();
        QVERIFY(f.field->hasFocus());
    }

    void enterGoesToTheDefaultButtonOfADialog() {
        QDialog dialog;
        auto* layout = new QVBoxLayout(&dialog);
        auto* field = new TKyNumEdit;
        auto* ok = new QPushButton("OK");
        layout->addWidget(field);
        layout->addWidget(ok);
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        field->setFocus();
        QSignalSpy beeps(field, &TKyNumEdit::beeped);
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(beeps.count(), 0);
        dialog.show();
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(beeps.count(), 0);
    }

    void escapeIsRefusedOutsideADialog() {
        Form f;
        QSignalSpy beeps(f.field, &TKyNumEdit::beeped);
        QTest::keyClick(f.field, Qt::Key_Escape);
        QCOMPARE(beeps.count(), 1);
    }

    void readOnlySwallowsEditsButCopies() {
        Form f;
        QSignalSpy beeps(f.field, &TKyNumEdit::beeped);
        f.field->SetText("55");
        f.field->SetReadOnly(true);
        QTest::keyClicks(f.field, "1a-");
        QTest::keyClick(f.field, Qt::Key_Backspace);
        QGuiApplication::clipboard()->setText("9");
        QTest::keyClick(f.field, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.field->text(), QString("55"));
        QCOMPARE(beeps.count(), 0);
        QTest::keyClick(f.field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(f.field, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(f.field->text(), QString("55"));
        QTest::keyClick(f.field, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("55"));
    }

    void inputMethodCommits() {
        Form f;
        QSignalSpy beeps(f.field, &TKyNumEdit::beeped);
        auto commit = [&](const QString& s) {
            QInputMethodEvent e;
            e.setCommitString(s);
            QApplication::sendEvent(f.field, &e);
        };
        commit("１２．５");
        QCOMPARE(f.field->text(), QString("12.5"));
        commit("－");
        QCOMPARE(f.field->text(), QString("-12.5"));
        commit("あ");
        QCOMPARE(f.field->text(), QString("-12.5"));
        QCOMPARE(beeps.count(), 1);
        QVERIFY(f.field->testAttribute(Qt::WA_InputMethodEnabled));
        f.field->SetImeMode(TImeMode::imDisable);
        QVERIFY(!f.field->testAttribute(Qt::WA_InputMethodEnabled));
        QCOMPARE(f.field->inputMethodQuery(Qt::ImCursorRectangle).toRect(), f.field->CaretRect());
    }

    void focusInSelectsFocusOutDropsLoneMinus() {
        Form f;
        QSignalSpy entered(f.last, &TKyNumEdit::entered);
        QSignalSpy exited(f.field, &TKyNumEdit::exited);
        QSignalSpy changed(f.field, &TKyNumEdit::changed);
        f.last->SetText("8");
        f.last->setFocus(Qt::TabFocusReason);
        QCOMPARE(entered.count(), 1);
        QVERIFY(f.last->Selected());
        QCOMPARE(exited.count(), 1);
        f.field->setFocus(Qt::TabFocusReason);
        QVERIFY(!f.last->Selected()); // HideSelection
        QTest::keyClicks(f.field, "-");
        QCOMPARE(changed.count(), 1);
        f.last->setFocus(Qt::TabFocusReason);
        QCOMPARE(f.field->text(), QString());
        QCOMPARE(changed.count(), 1);
        QVERIFY(!f.field->HasCaret());
        QVERIFY(f.last->HasCaret());
    }

    void caretStandsAfterTypedDigits() {
        Form f;
        f.field->SetDecimalFixed(true);
        f.field->SetDecimalLength(2);
        QTest::keyClicks(f.field, "5");
        QCOMPARE(f.field->DisplayText(), std::string("5.00"));
        const QRect text = f.field->LastTextRect();
        const QFontMetrics fm(f.field->font());
        QCOMPARE(f.field->CaretRect().left(), text.left() + fm.horizontalAdvance("5") + 1 - 1);
        QCOMPARE(f.field->CaretRect().width(), 1);
        QFont bold = f.field->font();
        bold.setBold(true);
        f.field->setFont(bold);
        QCOMPARE(f.field->CaretRect().width(), 2);
        QVERIFY(f.field->HasCaret());
    }

    void mouseClickDoubleClickAndDrag() {
        Form f;
        f.field->SetText("1234");
        f.field->SelectAll();
        const QPoint inside = f.field->LastTextRect().center();
        QTest::mouseClick(f.field, Qt::LeftButton, {}, inside);
        QVERIFY(!f.field->Selected());
        QSignalSpy dbl(f.field, &TKyNumEdit::doubleClicked);
        QTest::mouseDClick(f.field, Qt::LeftButton, {}, inside);
        QVERIFY(f.field->Selected());
        QCOMPARE(dbl.count(), 1);
        QTest::mouseClick(f.field, Qt::LeftButton, {}, inside);
        QVERIFY(!f.field->Selected());
        QTest::mousePress(f.field, Qt::LeftButton, {}, QPoint(3, 5));
        QMouseEvent move(QEvent::MouseMove, QPointF(inside), f.field->mapToGlobal(QPointF(inside)),
                         Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(f.field, &move);
        QVERIFY(f.field->Selected());
        QTest::mouseRelease(f.field, Qt::LeftButton, {}, inside);
    }

    void clickTakesTheFocus() {
        Form f;
        f.last->SetText("5");
        QTest::mouseClick(f.last, Qt::RightButton, {}, QPoint(5, 5));
        QVERIFY(f.last->hasFocus());
    }

    void paintsSelectionInHighlightButNotWhenDisabled() {
        TKyNumEdit field;
        field.SetText("8888");
        field.SelectAll();
        const QColor highlight = field.palette().color(QPalette::Highlight);
        QImage img = field.grab().toImage();
        const QRect text = field.LastTextRect().adjusted(0, 0, -1, -1);
        QVERIFY(CountColor(img, text, highlight) > text.width() * text.height() / 2);
        field.setEnabled(false);
        field.SetColor(QColor(10, 200, 10));
        field.SetDisabledColor(QColor(200, 10, 10));
        QVERIFY(field.Selected());
        img = field.grab().toImage();
        QCOMPARE(CountColor(img, text, highlight), 0);
        QVERIFY(CountColor(img, text, QColor(10, 200, 10)) > 0);
        QVERIFY(CountColor(img, text, QColor(200, 10, 10)) > 0);
    }

    void rightAlignedTextEndsInsideTheMargin() {
        TKyNumEdit e;
        e.SetBorderStyle(TBorderStyle::bsNone);
        e.resize(100, 20);
        e.SetText("1234");
        QCOMPARE(e.LastTextRect().right() + 1, 97);
    }

    void keyDownHandlerCanTakeAKey() {
        Form f;
        f.field->SetText("12");
        f.field->OnKeyDown = [](int& key, Qt::KeyboardModifiers) {
            if (key == Qt::Key_Backspace) key = 0;
        };
        QTest::keyClick(f.field, Qt::Key_Backspace);
        QCOMPARE(f.field->text(), QString("12"));
        f.field->OnKeyPress = [](unsigned& c) {
            if (c == '9') c = 0;
        };
        QSignalSpy beeps(f.field, &TKyNumEdit::beeped);
        QTest::keyClicks(f.field, "93");
        QCOMPARE(f.field->text(), QString("123"));
        QCOMPARE(beeps.count(), 1);
        // A full-width digit from the input method reaches the handler as the digit it stands for.
        QInputMethodEvent commit;
        commit.setCommitString(QString::fromUtf8("９４"));
        QApplication::sendEvent(f.field, &commit);
        QCOMPARE(f.field->text(), QString("1234"));
        QCOMPARE(beeps.count(), 2);
    }
};

QTEST_MAIN(KyNumEditWidget)
#include "KyNumEditWidget.moc"
