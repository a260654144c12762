// The ten saved senders in the real window: save, load, switch, and what a failure leaves behind.
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "gui/support/FormFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QtTest>

namespace {

void FillSender(TForm_Main& w, const char* zip, const char* a1, const char* a2, const char* name,
                const char* tel) {
    w.Edit_MyZip->setText(QFromUtf8(zip));
    w.Edit_MyADD1->setText(QFromUtf8(a1));
    w.Edit_MyADD2->setText(QFromUtf8(a2));
    w.Edit_My->setText(QFromUtf8(name));
    w.Edit_MyTEL->setText(QFromUtf8(tel));
}

QStringList Sender(TForm_Main& w) {
    return {w.Edit_MyZip->text(), w.Edit_MyADD1->text(), w.Edit_MyADD2->text(), w.Edit_My->text(),
            w.Edit_MyTEL->text()};
}

} // namespace

class SenderRegistry : public QObject {
    Q_OBJECT
    std::unique_ptr<FormFixture> fx;
    TForm_Main* w = nullptr;

private slots:
    void init() {
        fx = std::make_unique<FormFixture>();
        fx->Write(
            "my0.txt",
            Cp932FromUtf8("100-0001\r\n東京都千代田区千代田1-1\r\n\r\n株式会社タヴォ\r\n03-0000-0001\r\n"));
        w = &fx->Start();
        fx->boxes.Clear();
    }
    void cleanup() { fx.reset(); }

    void firstShowingLoadsTheSelectedSlot() {
        QCOMPARE(Sender(*w), QStringList({"100-0001", QFromUtf8("東京都千代田区千代田1-1"), "",
                                          QFromUtf8("株式会社タヴォ"), "03-0000-0001"}));
    }

    void saveWritesFiveCrLfLinesByteForByte() {
        w->PageControl_My->setCurrentIndex(2); // "依頼主3": no file yet
        QVERIFY(fx->boxes.Shown().empty());
        QCOMPARE(w->PageControl_My->currentIndex(), 2);
        FillSender(*w, "530-0001", "大阪府大阪市北区梅田1-1", "髙島ビル①", "山田商店", "06-1111-2222");
        fx->boxes.AnswerNext(true);
        QTest::mouseClick(w->BitBtn_My, Qt::LeftButton);
        QCOMPARE(fx->boxes.Shown().back().text, QFromUtf8("ご依頼主を登録しました"));
        QCOMPARE(fx->Read("my2.txt"),
                 Cp932FromUtf8(
                     "530-0001\r\n大阪府大阪市北区梅田1-1\r\n髙島ビル①\r\n山田商店\r\n06-1111-2222\r\n"));
        QCOMPARE(QApplication::focusWidget(), w->Edit_MyZip);
    }

    void emptyFieldsSaveTenBytesAndLoadEmpty() {
        FillSender(*w, "", "", "", "", "");
        fx->boxes.AnswerNext(true);
        w->BitBtn_MyClick();
        QCOMPARE(fx->Read("my0.txt"), std::string("\r\n\r\n\r\n\r\n\r\n"));
        w->PageControl_My->setCurrentIndex(1);
        fx->Write("my1.txt", "x\r\ny\r\nz\r\nv\r\nw\r\n");
        w->PageControl_My->setCurrentIndex(0);
        QCOMPARE(Sender(*w), QStringList({"", "", "", "", ""}));
    }

    void answeringNoWritesNothing() {
        w->Edit_My->setFocus();
        FillSender(*w, "1", "2", "3", "4", "5");
        w->BitBtn_MyClick();
        QCOMPARE(fx->boxes.Shown().at(0).text, QFromUtf8("ご依頼主を登録しますか?"));
        QCOMPARE(fx->boxes.Shown().size(), std::size_t(1));
        QCOMPARE(
            fx->Read("my0.txt"),
            Cp932FromUtf8("100-0001\r\n東京都千代田区千代田1-1\r\n\r\n株式会社タヴォ\r\n03-0000-0001\r\n"));
        QCOMPARE(QApplication::focusWidget(), w->Edit_MyZip);
    }

    void shortFilesAndOtherLineEndsLoad() {
        fx->Write("my4.txt", "650-0001\r\nKobe");
        w->PageControl_My->setCurrentIndex(4);
        QCOMPARE(Sender(*w), QStringList({"650-0001", "Kobe", "", "", ""}));
        fx->Write("my5.txt", "a\nb\rc\r\nd\n\ne-extra\n6th\n");
        w->PageControl_My->setCurrentIndex(5);
        QCOMPARE(Sender(*w), QStringList({"a", "b", "c", "d", ""}));
        QVERIFY(fx->boxes.Errors().empty());
    }

    // A tab nobody has saved yet shows empty fields and says how to fill it, without a box; what is
    // typed there is saved to that tab.
    void switchingToAnUnsavedSlotEmptiesTheFieldsAndSaysHowToSave() {
        w->PageControl_My->setCurrentIndex(7);
        QVERIFY(fx->boxes.Shown().empty());
        QCOMPARE(Sender(*w), QStringList({"", "", "", "", ""}));
        QCOMPARE(w->Panel_HelpMess->text(),
                 QFromUtf8("依頼主8は未登録です。入力して「ご依頼主登録」で保存してください"));
        FillSender(*w, "100-0001", "東京都千代田区千代田1-1", "", "株式会社タヴォ", "03-0000-0001");
        fx->boxes.AnswerNext(true);
        w->BitBtn_MyClick();
        QCOMPARE(fx->Read("my7.txt"), fx->Read("my0.txt"));
        w->PageControl_My->setCurrentIndex(0);
        QCOMPARE(w->Edit_My->text(), QFromUtf8("株式会社タヴォ"));
    }

    void unreadableSlotChangesNoField() {
        QVERIFY(QDir().mkdir(QStringLiteral("my6.txt")));
        w->PageControl_My->setCurrentIndex(6);
        QCOMPARE(fx->boxes.Errors(), std::vector<QString>{QStringLiteral("File access denied\n") +
                                                          QString::fromStdString(fx->File("my6.txt"))});
        QCOMPARE(w->Edit_MyZip->text(), QStringLiteral("100-0001"));
    }

    void failedSaveIsReportedAndConfirmsNothing() {
        // The slot file cannot be replaced: a folder stands in its place.
        QVERIFY(QDir().mkdir(QStringLiteral("my9.txt")));
        w->PageControl_My->setCurrentIndex(9);
        w->Edit_My->setFocus();
        fx->boxes.Clear();
        QString help = w->Panel_HelpMess->text();
        fx->boxes.AnswerNext(true);
        QTest::mouseClick(w->BitBtn_My, Qt::LeftButton);
        QCOMPARE(fx->boxes.Shown().size(), std::size_t(2)); // the question and the error, no notice
        QCOMPARE(fx->boxes.Errors(), std::vector<QString>{QStringLiteral("File access denied")});
        QCOMPARE(w->Panel_HelpMess->text(), help);
        QVERIFY(QFileInfo(QStringLiteral("my9.txt")).isDir());
    }

    void uncheckingTheSenderBoxDimsButChangesNoData() {
        QColor window = w->Edit_My->palette().color(QPalette::Base);
        QTest::mouseClick(w->CheckBox_My, Qt::LeftButton, Qt::NoModifier, QPoint(6, 12));
        QVERIFY(!w->CheckBox_My->isChecked());
        for (QLineEdit* e : {w->Edit_MyZip, w->Edit_MyADD1, w->Edit_MyADD2, w->Edit_My, w->Edit_MyTEL}) {
            QCOMPARE(e->palette().color(QPalette::Base), QColor(128, 128, 128));
            QVERIFY(!e->isReadOnly() && e->isEnabled());
        }
        QTest::mouseClick(w->CheckBox_Date_1, Qt::LeftButton, Qt::NoModifier, QPoint(6, 12));
        QVERIFY(!w->CheckBox_Date_1->isChecked()); // the colouring looks only at the sender box
        QCOMPARE(w->Edit_My->palette().color(QPalette::Base), QColor(128, 128, 128));
        QTest::mouseClick(w->CheckBox_My, Qt::LeftButton, Qt::NoModifier, QPoint(6, 12));
        QCOMPARE(w->Edit_My->palette().color(QPalette::Base), window);
        QCOMPARE(w->Edit_My->text(), QFromUtf8("株式会社タヴォ"));
        fx->boxes.AnswerNext(true);
        w->BitBtn_MyClick();
        QCOMPARE(
            fx->Read("my0.txt"),
            Cp932FromUtf8("100-0001\r\n東京都千代田区千代田1-1\r\n\r\n株式会社タヴォ\r\n03-0000-0001\r\n"));
    }
};

QTEST_MAIN(SenderRegistry)
#include "sender_registry.moc"
