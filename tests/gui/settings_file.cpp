// Start-up and shutdown of the real main window: what the settings file gives the fields, and what
// the window writes back.
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "gui/support/FormFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QtTest>

namespace {

const char* kIni = "tavo_Zaridi2.ini";

// The keys of the settings file in the order they stand in it.
QStringList KeysInOrder(const std::string& bytes) {
    QStringList keys;
    for (const QString& line : QString::fromLatin1(bytes.c_str()).split(QStringLiteral("\r\n"))) {
        int eq = line.indexOf(QLatin1Char('='));
        if (eq > 0) keys << line.left(eq);
    }
    return keys;
}

} // namespace

class SettingsFile : public QObject {
    Q_OBJECT
private slots:
    void veryFirstStartShowsDefaults() {
        FormFixture fx;
        TForm_Main& w = fx.Start();
        QVERIFY(fx.boxes.Shown().empty()); // a first start: no sender file is no fault
        QCOMPARE(QApplication::focusWidget(), w.Edit_Zip);
        for (QLineEdit* e :
             {w.Edit_Zip, w.Edit_Add1, w.Edit_Add2, w.Edit_Add3, w.Edit_Custo1, w.Edit_tel, w.Edit_G1,
              w.Edit_G2, w.Edit_G3, w.Edit_MyZip, w.Edit_MyADD1, w.Edit_MyADD2, w.Edit_My, w.Edit_MyTEL})
            QVERIFY2(e->text().isEmpty(), qPrintable(e->objectName()));
        QCOMPARE(w.KyNumEdit_KOSUU->Text(), std::string("1"));
        QCOMPARE(w.ComboBox_SEL->currentText(), QFromUtf8("手差し"));
        QCOMPARE(w.PageControl_My->currentIndex(), 0);
        QCOMPARE(w.PageControl_My->tabText(0), QFromUtf8("依頼主1"));
        QCOMPARE(w.DateTimePicker_1->date(), QDate::currentDate());
        QVERIFY(w.CheckBox_My->isChecked());
        QVERIFY(w.CheckBox_Date_1->isChecked());
        QCOMPARE(w.windowTitle(), QFromUtf8("tavo　送り状印刷　< 佐川急便　郵便番号付　> ver1.10"));
        QCOMPARE(w.Label_CurrentDir->text(), QDir::currentPath());
        QCOMPARE(w.StatusBar1->currentMessage(), QStringLiteral("  "));
        QCOMPARE(w.Memo1->palette().color(QPalette::Base), QColor(192, 192, 192));
        QVERIFY(w.SpeedButton_F[2]->isEnabled() && w.SpeedButton_F[5]->isEnabled() &&
                w.SpeedButton_F[11]->isEnabled());
        QCOMPARE(w.SpeedButton_F[2]->text(), QFromUtf8("中止"));
        QCOMPARE(w.SpeedButton_F[5]->text(), QFromUtf8("プレビュー"));
        QCOMPARE(w.SpeedButton_F[11]->text(), QFromUtf8("印刷"));
        QVERIFY(w.SpeedButton_F[6]->isEnabled() && w.SpeedButton_F[8]->isEnabled());
        QCOMPARE(w.SpeedButton_F[6]->text(), QFromUtf8("履歴"));
        QCOMPARE(w.SpeedButton_F[8]->text(), QFromUtf8("注文取込"));
        QVERIFY(w.SpeedButton_F[1]->isEnabled());
        QCOMPARE(w.SpeedButton_F[1]->text(), QFromUtf8("ヘルプ"));
        for (int i : {3, 4, 7, 9, 10, 12}) {
            QVERIFY(!w.SpeedButton_F[i]->isEnabled());
            QCOMPARE(w.SpeedButton_F[i]->text(), QStringLiteral("F%1").arg(i));
        }
        QVERIFY(!fx.Exists(kIni)); // nothing is written before shutdown
    }

    void shutdownWritesEveryKeyInOrderAndEmptyValues() {
        FormFixture fx;
        fx.Start();
        fx.Stop();
        std::string ini = fx.Read(kIni);
        QCOMPARE(KeysInOrder(ini),
                 QStringList({"Addr_Font", "E_ZIP", "E_AD1", "E_AD2", "E_CUS", "E_TEL", "E_G1", "E_G2",
                              "E_G3", "KOSUU", "OP023My", "OP023MyZip", "OP023MyADD1", "OP023MyADD2",
                              "OP023MyTEL", "ComboBox_SEL", "Tab_My", "TaxRate"}));
        QVERIFY(ini.find("[tv_SAGAWAprn]\r\n") == 0);
        QVERIFY(ini.find("\r\nE_ZIP=\r\n") != std::string::npos);
        QVERIFY(ini.find("\r\nKOSUU=1\r\n") != std::string::npos);
    }

    void shutdownWritesEachSenderKeyFromItsOwnField() {
        FormFixture fx;
        TForm_Main& w = fx.Start();
        w.Edit_My->setText(QFromUtf8("送り主"));
        w.Edit_MyZip->setText(QFromUtf8("530-0001"));
        w.Edit_MyADD1->setText(QFromUtf8("大阪府大阪市"));
        w.Edit_MyADD2->setText(QFromUtf8("梅田ビル"));
        w.Edit_MyTEL->setText(QFromUtf8("06-1234-5678"));
        fx.Stop();
        std::string ini = fx.Read(kIni);
        for (const char* line : {"OP023My=送り主", "OP023MyZip=530-0001", "OP023MyADD1=大阪府大阪市",
                                 "OP023MyADD2=梅田ビル", "OP023MyTEL=06-1234-5678"})
            QVERIFY2(ini.find("\r\n" + Cp932FromUtf8(line) + "\r\n") != std::string::npos, line);
    }

    void restartShowsWhatWasStoredAndNothingElse() {
        FormFixture fx;
        fx.Write("my3.txt", Cp932FromUtf8("111-2222\r\n送り主住所\r\n\r\n送り主\r\n099-000\r\n"));
        {
            TForm_Main& w = fx.Start();
            w.Edit_Zip->setText(QFromUtf8("123-4567"));
            w.Edit_Add1->setText(QFromUtf8("東京都新宿区西新宿2-8-1"));
            w.Edit_Add2->setText(QFromUtf8("都庁ビル"));
            w.Edit_Add3->setText(QFromUtf8("三行目は残らない"));
            w.Edit_Custo1->setText(QFromUtf8("山田太郎"));
            w.Edit_tel->setText(QFromUtf8("03-1234-5678"));
            w.Edit_G1->setText(QFromUtf8("本"));
            w.Edit_G2->setText(QFromUtf8("ノート"));
            w.Edit_G3->setText(QFromUtf8("鉛筆"));
            w.KyNumEdit_KOSUU->SetText("12");
            w.KyNumEdit_PriceSub->SetText("1050");
            w.CheckBox_p2->setChecked(true);
            w.CheckBox_My->setChecked(false);
            w.CheckBox_Date_1->setChecked(false);
            w.DateTimePicker_1->setDate(QDate::currentDate().addDays(3));
            w.ComboBox_SEL->setCurrentIndex(1);
            w.ComboBox_FontSize->setCurrentIndex(2);
            w.PageControl_My->setCurrentIndex(3); // loads my3.txt
            w.Edit_MyTEL->setText(QFromUtf8("099-111"));
            fx.Stop();
        }
        fx.boxes.Clear();
        TForm_Main& w = fx.Start();
        QVERIFY(fx.boxes.Errors().empty());
        QCOMPARE(w.Edit_Zip->text(), QFromUtf8("123-4567"));
        QCOMPARE(w.Edit_Add1->text(), QFromUtf8("東京都新宿区西新宿2-8-1"));
        QCOMPARE(w.Edit_Add2->text(), QFromUtf8("都庁ビル"));
        QCOMPARE(w.Edit_Add3->text(), QString());
        QCOMPARE(w.Edit_Custo1->text(), QFromUtf8("山田太郎"));
        QCOMPARE(w.Edit_tel->text(), QFromUtf8("03-1234-5678"));
        QCOMPARE(w.Edit_G1->text() + w.Edit_G2->text() + w.Edit_G3->text(), QFromUtf8("本ノート鉛筆"));
        QCOMPARE(w.KyNumEdit_KOSUU->Text(), std::string("12"));
        QCOMPARE(w.KyNumEdit_PriceSub->Text(), std::string("0"));
        QCOMPARE(w.KyNumEdit_TaxSub->Text(), std::string("0"));
        QVERIFY(!w.CheckBox_p2->isChecked());
        QVERIFY(w.CheckBox_My->isChecked());
        QVERIFY(w.CheckBox_Date_1->isChecked());
        QCOMPARE(w.DateTimePicker_1->date(), QDate::currentDate());
        QCOMPARE(w.ComboBox_SEL->currentIndex(), 1);
        QCOMPARE(w.ComboBox_FontSize->currentIndex(), 2);
        QCOMPARE(w.PageControl_My->currentIndex(), 3);
        // The sender file of the tab replaces what the settings file held for the sender.
        QCOMPARE(w.Edit_MyTEL->text(), QFromUtf8("099-000"));
        QCOMPARE(w.Edit_My->text(), QFromUtf8("送り主"));
        QCOMPARE(QApplication::focusWidget(), w.Edit_Zip);
        QCOMPARE(w.Panel_HelpMess->text(), QFromUtf8("お届け先の郵便番号を入力して下さい"));
    }

    void oddSettingsFileIsReadLeniently() {
        FormFixture fx;
        fx.Write(kIni,
                 std::string("garbage\xFF\x81 line\r\n[other]\r\nE_ZIP=999\r\n[TV_sagawaPRN]\r\n") +
                     Cp932FromUtf8(
                         "E_ZIP=１２３－４５６７\r\n  op023myzip = 543-0001\r\nComboBox_SEL=1\r\n"
                         "Tab_My=zz\r\nKOSUU=\r\nE_TEL=０３（１２３４）５６７８\r\nUnknown=keep me\r\n"));
        TForm_Main& w = fx.Start();
        QCOMPARE(w.Edit_Zip->text(), QFromUtf8("123-4567"));
        QCOMPARE(w.Edit_tel->text(), QFromUtf8("03(1234)5678"));
        QCOMPARE(w.Edit_MyZip->text(), QFromUtf8("543-0001")); // no sender file replaces it
        QCOMPARE(w.ComboBox_SEL->currentText(), QFromUtf8("連続(４インチ)"));
        QCOMPARE(w.PageControl_My->currentIndex(), 0);
        fx.Stop();
        std::string ini = fx.Read(kIni);
        QVERIFY(ini.find("garbage") == 0); // lines it does not know stay
        QVERIFY(ini.find("Unknown=keep me") != std::string::npos);
        QVERIFY(ini.find("[other]\r\nE_ZIP=999\r\n") != std::string::npos);
        QVERIFY(ini.find("E_ZIP=123-4567") != std::string::npos);
    }

    void failedWriteReportsAndKeepsTheOldFile() {
        FormFixture fx;
        // A folder where the file should be: it cannot be replaced, even by root.
        QVERIFY(QDir().mkdir(QString::fromLatin1(kIni)));
        TForm_Main& w = fx.Start();
        w.Edit_Custo1->setText(QStringLiteral("new"));
        fx.boxes.Clear();
        fx.Stop();
        QCOMPARE(fx.boxes.Errors(), std::vector<QString>{QString::fromStdString(fx.File(kIni)) +
                                                         QFromUtf8(" に書き込めません")});
        QVERIFY(QFileInfo(QString::fromLatin1(kIni)).isDir());
    }
};

QTEST_MAIN(SettingsFile)
#include "settings_file.moc"
