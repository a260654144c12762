// A new user's first start of the real main window: no settings and no sender, a folder that lost its
// sender file, the date whatever the locale, F1's manual, and where the first file dialog opens.
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/help/ManualWindow.h"
#include "app/qt/orders/OrderQueueWindow.h"
#include "gui/support/FormFixture.h"

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTextBrowser>
#include <QtTest>

namespace {

QStringList Sender(TForm_Main& w) {
    return {w.Edit_MyZip->text(), w.Edit_MyADD1->text(), w.Edit_MyADD2->text(), w.Edit_My->text(),
            w.Edit_MyTEL->text()};
}

} // namespace

class FirstStart : public QObject {
    Q_OBJECT
private slots:
    void firstStartAsksNothingAndSaysHowToRegisterASender() {
        FormFixture fx;
        TForm_Main& w = fx.Start();
        QVERIFY(fx.boxes.Shown().empty());
        QCOMPARE(QApplication::focusWidget(), w.Edit_Zip); // the first showing ran to its end
        QCOMPARE(Sender(w), QStringList({"", "", "", "", ""}));
        QCOMPARE(w.Panel_HelpMess->text(),
                 QFromUtf8("依頼主1は未登録です。入力して「ご依頼主登録」で保存してください"));
    }

    void folderWithSettingsButNoSenderFileNamesTheLostFile() {
        FormFixture fx;
        fx.Write("tavo_Zaridi2.ini", "[tv_SAGAWAprn]\r\nTab_My=2\r\n");
        TForm_Main& w = fx.Start();
        QCOMPARE(fx.boxes.Errors(), std::vector<QString>{QStringLiteral("File not found\n") +
                                                         QString::fromStdString(fx.File("my2.txt"))});
        QCOMPARE(w.PageControl_My->currentIndex(), 2);
    }

    void dateReadsJapaneseWhateverTheLocale() {
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        FormFixture fx;
        TForm_Main& w = fx.Start();
        QLocale::setDefault(before);
        const struct {
            QDate day;
            const char* text;
        } cases[] = {{QDate(2026, 12, 8), "2026/12/08 (火)"},
                     {QDate(2027, 1, 3), "2027/01/03 (日)"},
                     {QDate(2026, 5, 16), "2026/05/16 (土)"}};
        auto* edit = w.DateTimePicker_1->findChild<QLineEdit*>();
        QVERIFY(edit);
        for (const auto& c : cases) {
            w.DateTimePicker_1->setDate(c.day);
            QCOMPARE(w.DateTimePicker_1->text(), QFromUtf8(c.text));
            // Whole, the day's bracket included.
            QVERIFY2(edit->fontMetrics().horizontalAdvance(edit->text()) <= edit->contentsRect().width() - 4,
                     c.text);
        }
    }

    void f1OpensTheManualFromAnyControl() {
        FormFixture fx;
        fx.Write("my0.txt", "\r\n\r\n\r\n\r\n\r\n");
        TForm_Main& w = fx.Start();
        QCOMPARE(w.SpeedButton_F[1]->text(), QFromUtf8("ヘルプ"));
        QVERIFY(w.SpeedButton_F[1]->isEnabled());
        w.KyNumEdit_PriceSub->setFocus();
        QTest::keyClick(w.KyNumEdit_PriceSub, Qt::Key_F1);
        auto* manual = w.findChild<ManualWindow*>();
        QVERIFY(manual && manual->isVisible());
        // The README's Japanese section, built into the program: the set-up of a printer is in it, the
        // English part of the README is not.
        const QString text = manual->Browser->toPlainText();
        QVERIFY(ManualWindow::ManualText().startsWith(QFromUtf8("## 使い方\n")));
        for (const char* part : {"プリンタの準備", "lpadmin", "F11", "--import-postcodes", "TaxRate"})
            QVERIFY2(text.contains(QFromUtf8(part)), part);
        QVERIFY(!text.contains(QStringLiteral("Using the program")));
    }

    void orderFileDialogOpensInTheDocumentsFolderTheFirstTime() {
        FormFixture fx;
        fx.Write("my0.txt", "\r\n\r\n\r\n\r\n\r\n");
        TForm_Main& w = fx.Start();
        QString folder;
        OrderQueueWindow::SetFileChooser([&folder](const QString& f) {
            folder = f;
            return QString();
        });
        QTest::keyClick(w.Edit_Zip, Qt::Key_F8);
        OrderQueueWindow::SetFileChooser({});
        QCOMPARE(folder, fx.home.Documents());
        QVERIFY(QFileInfo(folder).isDir());
    }
};

QTEST_MAIN(FirstStart)
#include "first_start.moc"
