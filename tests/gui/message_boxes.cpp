// The real modal boxes: title, buttons, Enter answers Yes, Escape and the close box answer No, and the
// error box of a handler that failed.
#include "app/qt/common/AppTitle.h"
#include "app/qt/common/ErrorBox.h"
#include "app/qt/common/MessageBoxes.h"
#include "platform/Cp932Codec.h"
#include "platform/RuntimeErrors.h"
#include "platform/qt/QtText.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

struct Seen {
    QString title, text;
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

class MessageBoxes : public QObject {
    Q_OBJECT
    Seen seen;

    void ask(std::function<void(QMessageBox*)> answer, bool& result) {
        auto shown = std::make_shared<Seen>();
        QTimer::singleShot(0, [shown, answer] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            shown->title = box->windowTitle();
            shown->text = box->text();
            shown->icon = box->icon();
            for (QAbstractButton* b : box->buttons())
                shown->buttons << b->text();
            answer(box);
        });
        result = msgbox::AskYesNo(QString::fromUtf8("終了しますか?"));
        seen = *shown;
    }

private slots:
    void enterAnswersYes() {
        bool yes = false;
        ask([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); }, yes);
        QVERIFY(yes);
        QCOMPARE(seen.title, AppTitle());
        QCOMPARE(seen.text, QString::fromUtf8("終了しますか?"));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QStringList buttons = seen.buttons;
        buttons.sort();
        QStringList expected{QString::fromUtf8("いいえ"), QString::fromUtf8("はい")};
        expected.sort();
        QCOMPARE(buttons, expected);
    }

    void escapeAndCloseBoxAnswerNo() {
        bool yes = true;
        ask([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); }, yes);
        QVERIFY(!yes);
        yes = true;
        ask([](QMessageBox* box) { box->close(); }, yes);
        QVERIFY(!yes);
    }

    void noticeHasOnlyOk() {
        auto buttons = std::make_shared<QStringList>();
        QTimer::singleShot(0, [buttons] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            for (QAbstractButton* b : box->buttons())
                *buttons << b->text();
            QTest::keyClick(box, Qt::Key_Return);
        });
        msgbox::Notify(QString::fromUtf8("ご依頼主を登録しました"));
        QCOMPARE(*buttons, QStringList{QStringLiteral("OK")});
    }

    // The line F11 asks for (the next slip number): what is typed, the key or button that ends the box,
    // and AskText's answer ("-" for none).
    void textBoxGivesWhatWasTypedOnlyOnOk_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("answer");
        QTest::newRow("scanned: digits and Enter") << "512547514334"
                                                   << "Enter"
                                                   << "512547514334";
        QTest::newRow("Enter on an empty line waits") << ""
                                                      << "Enter"
                                                      << "-";
        QTest::newRow("the third button") << "5125" << QFromUtf8("番号なしで印刷") << "";
        QTest::newRow("Escape") << "512547514334"
                                << "Escape"
                                << "-";
    }
    void textBoxGivesWhatWasTypedOnlyOnOk() {
        QFETCH(QString, typed);
        QFETCH(QString, end);
        QFETCH(QString, answer);
        QTimer::singleShot(0, [=] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(box);
            const auto close = qScopeGuard([box] { // however the checks end: the test never waits on it
                if (box->isVisible()) box->reject();
            });
            QVERIFY(QTest::qWaitForWindowActive(box));
            QCOMPARE(box->windowTitle(), AppTitle());
            auto* edit = box->findChild<QLineEdit*>();
            QVERIFY(edit && edit->hasFocus() && !edit->testAttribute(Qt::WA_InputMethodEnabled));
            QTest::keyClicks(edit, typed);
            for (QPushButton* b : box->findChildren<QPushButton*>())
                if (b->text() == end) b->click();
            if (box->isVisible()) QTest::keyClick(edit, end == "Enter" ? Qt::Key_Return : Qt::Key_Escape);
        });
        const std::optional<QString> got = msgbox::AskText(QStringLiteral("?"), QFromUtf8("番号なしで印刷"));
        QCOMPARE(got.value_or(QStringLiteral("-")), answer);
    }

    void handlerErrorShowsItsMessage() {
        auto text = std::make_shared<QString>();
        auto title = std::make_shared<QString>();
        QTimer::singleShot(0, [text, title] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            *text = box->text();
            *title = box->windowTitle();
            box->accept();
        });
        bool after = false;
        Guarded([&] {
            throw EInOutError(0, cp932::FromUtf8("/tmp/x.ini に書き込めません"));
            after = true;
        });
        QVERIFY(!after);
        QCOMPARE(*text, QString::fromUtf8("/tmp/x.ini に書き込めません"));
        QCOMPARE(*title, AppTitle());
    }
};

QTEST_MAIN(MessageBoxes)
#include "message_boxes.moc"
