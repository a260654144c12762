// Commands of the real main window: consignee clear, web help and mail, the memo's colour and clear,
// the cash-on-delivery group.
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "gui/support/FormFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QtTest>

// Receives what the window asks the desktop to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

// A click on the box itself, not on the empty space right of its text.
void Click(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
}

class ShellCommands : public QObject {
    Q_OBJECT
    std::unique_ptr<FormFixture> fx;
    TForm_Main* w = nullptr;

    void fillConsignee() {
        w->Edit_Zip->setText(QStringLiteral("123-4567"));
        w->Edit_Add1->setText(QString(21, QChar(0x3042)));
        w->Edit_Add1->setFocus();
        w->Edit_Add2->setText(QFromUtf8("二行目"));
        w->Edit_Add3->setText(QFromUtf8("三行目"));
        w->Edit_Custo1->setText(QFromUtf8("山田"));
        w->Edit_tel->setText(QStringLiteral("03-1111-2222"));
        w->Edit_G1->setText(QFromUtf8("品"));
        w->KyNumEdit_KOSUU->SetText("3");
        QVERIFY(!w->Label_Warning->text().isEmpty());
    }

private slots:
    void init() {
        fx = std::make_unique<FormFixture>();
        fx->Write("my0.txt", Cp932FromUtf8("1\r\n2\r\n3\r\n依頼主\r\n5\r\n"));
        w = &fx->Start();
    }
    void cleanup() { fx.reset(); }

    // A key's caption shows whole, in the largest size up to the key's own that it fits in.
    void functionKeyCaptionsFitTheirKeys() {
        for (int i = 1; i <= 12; ++i) {
            QPushButton* key = w->SpeedButton_F[static_cast<std::size_t>(i)];
            const int room = key->width() - 6;
            QFont font = key->font();
            QVERIFY2(QFontMetrics(font).horizontalAdvance(key->text()) <= room, qPrintable(key->text()));
            if (font.pixelSize() == w->font().pixelSize()) continue;
            font.setPixelSize(font.pixelSize() + 1);
            QVERIFY2(QFontMetrics(font).horizontalAdvance(key->text()) > room, qPrintable(key->text()));
        }
    }

    void consigneeClearWithYesEmptiesOnlyTheConsignee() {
        fillConsignee();
        fx->boxes.AnswerNext(true);
        QTest::mouseClick(w->BitBtn_CLS, Qt::LeftButton);
        QCOMPARE(fx->boxes.Shown().at(0).text, QFromUtf8("お届け先をクリアますか?"));
        for (QLineEdit* e : {w->Edit_Zip, w->Edit_Add1, w->Edit_Add2, w->Edit_Custo1, w->Edit_tel})
            QVERIFY2(e->text().isEmpty(), qPrintable(e->objectName()));
        QCOMPARE(w->Label_Warning->text(), QString());
        QCOMPARE(w->Edit_Add3->text(), QFromUtf8("三行目"));
        QCOMPARE(w->Edit_G1->text(), QFromUtf8("品"));
        QCOMPARE(w->KyNumEdit_KOSUU->Text(), std::string("3"));
        QCOMPARE(w->Edit_My->text(), QFromUtf8("依頼主"));
    }

    void consigneeClearWithNoChangesNothing() {
        fillConsignee();
        fx->boxes.AnswerNext(false);
        w->BitBtn_CLSClick();
        QCOMPARE(w->Edit_Zip->text(), QStringLiteral("123-4567"));
        QCOMPARE(w->Edit_Add2->text(), QFromUtf8("二行目"));
        QVERIFY(!w->Label_Warning->text().isEmpty());
    }

    // The buttons lead where the settings' [Support] section says, and are not there without it.
    void mailAndWebGoWhereTheSettingsSay() {
        QVERIFY(w->BitBtn_SendMail->isHidden() && w->BitBtn_WebHelp->isHidden());
        fx.reset(); // one fixture at a time: each owns the working folder and the boxes
        fx = std::make_unique<FormFixture>();
        fx->Write("my0.txt", "\r\n\r\n\r\n\r\n\r\n");
        fx->Write("tavo_Zaridi2.ini",
                  "[Support]\r\nUrl= https://shop.example/help/ \r\nMail=help@shop.example\r\n");
        w = &fx->Start();
        QVERIFY(!w->BitBtn_SendMail->isHidden() && !w->BitBtn_WebHelp->isHidden());
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
        QTest::mouseClick(w->BitBtn_SendMail, Qt::LeftButton);
        QTest::mouseClick(w->BitBtn_WebHelp, Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(catcher.opened.size(), 2);
        QCOMPARE(catcher.opened[0].scheme(), QStringLiteral("mailto"));
        QCOMPARE(catcher.opened[0].path(), QStringLiteral("help@shop.example"));
        QCOMPARE(catcher.opened[0].query(QUrl::FullyDecoded),
                 QFromUtf8("subject=tavoへの問い合わせ&cc=&bcc=&"));
        QCOMPARE(catcher.opened[1], QUrl(QStringLiteral("https://shop.example/help/")));
        QCOMPARE(w->BitBtn_SendMail->toolTip(), QStringLiteral("help@shop.example"));

        // Only the mail: the web button stays away.
        fx.reset();
        fx = std::make_unique<FormFixture>();
        fx->Write("my0.txt", "\r\n\r\n\r\n\r\n\r\n");
        fx->Write("tavo_Zaridi2.ini", "[Support]\r\nUrl=\r\nMail=help@shop.example\r\n");
        w = &fx->Start();
        QVERIFY(!w->BitBtn_SendMail->isHidden() && w->BitBtn_WebHelp->isHidden());
    }

    void memoIsSilverOnlyWhileEmpty() {
        QCOMPARE(w->Memo1->palette().color(QPalette::Base), QColor(192, 192, 192));
        w->Memo1->setFocus();
        TypeText(w->Memo1, QStringLiteral("x"));
        QVERIFY(w->Memo1->palette().color(QPalette::Base) != QColor(192, 192, 192));
        QTest::keyClick(w->Memo1, Qt::Key_Backspace);
        QCOMPARE(w->Memo1->palette().color(QPalette::Base), QColor(192, 192, 192));
        w->Memo1->setPlainText(QStringLiteral("a\nb"));
        w->Memo2 = {"scratch"};
        QTest::mouseClick(w->BitBtn_MemoCLS, Qt::LeftButton);
        QVERIFY(w->Memo1->document()->isEmpty());
        QVERIFY(w->Memo2.empty());
        QCOMPARE(w->Memo1->palette().color(QPalette::Base), QColor(192, 192, 192));
    }

    void taxFollowsTheAmount_data() {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("tax");
        QTest::newRow("10000") << "10000"
                               << "909";
        QTest::newRow("-100") << "-100"
                              << "-9";
        QTest::newRow("9999999") << "9999999"
                                 << "909090";
    }
    void taxFollowsTheAmount() {
        QFETCH(QString, amount);
        QFETCH(QString, tax);
        w->KyNumEdit_PriceSub->SetText(amount.toStdString());
        QCOMPARE(QString::fromStdString(w->KyNumEdit_TaxSub->Text()), tax);
    }

    // The rate comes from the settings (TaxRate, whole percent; 10 without a usable key), 8 can be
    // chosen beside the tax, and the choice is what the settings keep.
    void taxRateFromTheSettingsAndTheWindow_data() {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<QString>("tax"); // of 10,800 yen
        QTest::newRow("no key") << QByteArray() << QStringList({"10%", "8%"}) << "981";
        QTest::newRow("reduced") << QByteArray("TaxRate=8") << QStringList({"10%", "8%"}) << "800";
        QTest::newRow("another") << QByteArray("TaxRate= 5") << QStringList({"10%", "8%", "5%"}) << "514";
        QTest::newRow("not a rate") << QByteArray("TaxRate=10.5") << QStringList({"10%", "8%"}) << "981";
    }
    void taxRateFromTheSettingsAndTheWindow() {
        QFETCH(QByteArray, key);
        QFETCH(QStringList, offered);
        QFETCH(QString, tax);
        fx.reset();
        fx = std::make_unique<FormFixture>();
        fx->Write("my0.txt", "\r\n\r\n\r\n\r\n\r\n");
        fx->Write("tavo_Zaridi2.ini", "[tv_SAGAWAprn]\r\n" + key.toStdString() + "\r\n");
        w = &fx->Start();
        QStringList items;
        for (int i = 0; i < w->ComboBox_TaxRate->count(); ++i)
            items << w->ComboBox_TaxRate->itemText(i);
        QCOMPARE(items, offered);
        w->KyNumEdit_PriceSub->SetText("10800");
        QCOMPARE(QString::fromStdString(w->KyNumEdit_TaxSub->Text()), tax);
        w->ComboBox_TaxRate->setFocus();
        QTest::keyClick(w->ComboBox_TaxRate, Qt::Key_Home);
        QTest::keyClick(w->ComboBox_TaxRate, Qt::Key_Down);
        QCOMPARE(w->ComboBox_TaxRate->currentText(), QStringLiteral("8%"));
        QCOMPARE(w->KyNumEdit_TaxSub->Text(), std::string("800"));
        fx->Stop();
        QVERIFY(fx->Read("tavo_Zaridi2.ini").find("TaxRate=8\r\n") != std::string::npos);
    }

    void taxFollowsTyping() {
        w->KyNumEdit_PriceSub->setFocus();
        w->KyNumEdit_PriceSub->SelectAll();
        TypeText(w->KyNumEdit_PriceSub, QStringLiteral("2200"));
        QCOMPARE(w->KyNumEdit_TaxSub->Text(), std::string("200"));
    }

    void paymentKindsExcludeEachOther() {
        Click(w->CheckBox_p1);
        Click(w->CheckBox_p2);
        QVERIFY(!w->CheckBox_p1->isChecked() && w->CheckBox_p2->isChecked() && !w->CheckBox_p3->isChecked());
        Click(w->CheckBox_p2);
        QVERIFY(!w->CheckBox_p1->isChecked() && !w->CheckBox_p2->isChecked() && !w->CheckBox_p3->isChecked());
        Click(w->CheckBox_p3);
        Click(w->CheckBox_p1);
        QVERIFY(w->CheckBox_p1->isChecked() && !w->CheckBox_p3->isChecked());
    }

    void cashOnDeliveryClear() {
        w->KyNumEdit_PriceSub->SetText("2750");
        Click(w->CheckBox_p3);
        fx->boxes.AnswerNext(true);
        w->BitBtn_CLSClick(); // the consignee clear leaves the group alone
        QCOMPARE(w->KyNumEdit_TaxSub->Text(), std::string("250"));
        QTest::mouseClick(w->BitBtn_PriceSub_Cls, Qt::LeftButton);
        QCOMPARE(w->KyNumEdit_PriceSub->Text(), std::string("0"));
        QCOMPARE(w->KyNumEdit_TaxSub->Text(), std::string("0"));
        QVERIFY(!w->CheckBox_p3->isChecked());
    }

    void hintsAsWritten() {
        struct {
            QWidget* control;
            const char* hint;
        } cases[] = {
            {w->BitBtn_My, "ご依頼主を保存します"},
            {w->CheckBox_My, "チェックをはずすとご依頼主を印字しません"},
            {w->CheckBox_Date_1, "チェックをはずすと日付を印字しません"},
            {w->PageControl_My, "依頼主番号ごとに登録してください。　登録後切り替えが可能になります。"},
            {w->Edit_G1, "30文字入力可"},
            {w->BitBtn_1, "お届け先にテキストデータを転送します"},
            {w->BitBtn_MemoCLS, "メモをクリアします"},
            {w->BitBtn_PriceSub_Cls, "代引金額/代引種別をクリアします"},
            {w->BitBtn_PrnSet, "送り状ごとに使用にするプリンタをセットします"},
            {w->BitBtn_PrnSet2, "印刷する用紙の上余白、左余白を調整します"},
            {w->BitBtn_CLS, ""},
            {w->BitBtn_WebHelp, ""},
        };
        for (auto& c : cases)
            QCOMPARE(c.control->toolTip(), QFromUtf8(c.hint));
    }

    void everyControlCarriesItsDesignName() {
        const char* names[] = {"Panel3",
                               "Panel1",
                               "Panel4",
                               "Panel_HelpMess",
                               "Panel_Fnc",
                               "StatusBar1",
                               "Memo1",
                               "BitBtn_1",
                               "BitBtn_MemoCLS",
                               "Edit_Zip",
                               "Edit_Add1",
                               "Edit_Add2",
                               "Edit_Add3",
                               "Edit_Custo1",
                               "Edit_tel",
                               "BitBtn_CLS",
                               "Label_Warning",
                               "CheckBox_My",
                               "PageControl_My",
                               "Edit_MyZip",
                               "Edit_MyADD1",
                               "Edit_MyADD2",
                               "Edit_My",
                               "Edit_MyTEL",
                               "BitBtn_My",
                               "CheckBox_Date_1",
                               "DateTimePicker_1",
                               "Edit_G1",
                               "Edit_G2",
                               "Edit_G3",
                               "KyNumEdit_KOSUU",
                               "KyNumEdit_PriceSub",
                               "KyNumEdit_TaxSub",
                               "Label_PriceSub",
                               "GroupBox_PriceSub",
                               "CheckBox_p1",
                               "CheckBox_p2",
                               "CheckBox_p3",
                               "BitBtn_PriceSub_Cls",
                               "GroupBox1",
                               "ComboBox1",
                               "ComboBox2",
                               "ComboBox3",
                               "ComboBox_SEL",
                               "Label_Prn_Top",
                               "Label_Prn_Left",
                               "BitBtn_PrnSet",
                               "BitBtn_PrnSet2",
                               "ComboBox_FontSize",
                               "BitBtn_WebHelp",
                               "BitBtn_SendMail",
                               "SpeedButton_F1",
                               "SpeedButton_F7",
                               "SpeedButton_F12",
                               "Label_CurrentDir",
                               "Label_PrinterIndex",
                               "Label_dpix",
                               "Label_dpiy",
                               "SpeedButton_readMy"};
        for (const char* n : names)
            QVERIFY2(w->findChild<QWidget*>(QString::fromLatin1(n)), n);
        QCOMPARE(w->size(), QSize(682, 663));
        QCOMPARE(w->minimumSize(), w->maximumSize());
        QCOMPARE(w->SpeedButton_F[5]->x() - w->SpeedButton_F[4]->x(), 65);
        QCOMPARE(w->SpeedButton_F[3]->x() - w->SpeedButton_F[2]->x(), 55);
        QCOMPARE(w->SpeedButton_F[1]->size(), QSize(55, 26));
        QCOMPARE(w->Edit_G1->width(), 270);
    }
};

QTEST_MAIN(ShellCommands)
#include "shell_commands.moc"
