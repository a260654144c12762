// Fills the main window with a realistic slip and saves a picture of it: to $ZARIDI_SCREENSHOT when set
// (scripts/screenshot writes docs/main-window.png), otherwise into the test's own directory.
#include "app/qt/LimitedLineEdit.h"
#include "gui/support/FormFixture.h"

#include <QCheckBox>
#include <QImage>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QtTest>

class MainWindowScreenshot : public QObject {
    Q_OBJECT
private slots:
    void savesFilledWindow() {
        FormFixture fx;
        fx.Write("my0.txt", Sj("160-0023\r\n東京都新宿区西新宿1-2-"
                               "3\r\nタヴォビル5F\r\n株式会社タヴォ商会\r\n03-1234-0000\r\n"));
        TForm_Main& w = fx.Start();
        w.Memo1->setPlainText(
            U("ご注文ありがとうございます。\nお届け先：〒530-0001\n大阪府大阪市北区梅田3-1-1"));
        w.Edit_Zip->setText(U("530-0001"));
        w.Edit_Add1->setText(U("大阪府大阪市北区梅田3-1-1"));
        w.Edit_Add2->setText(U("梅田スカイマンション1203号"));
        w.Edit_Custo1->setText(U("山田　花子"));
        w.Edit_tel->setText(U("06-6345-1234"));
        w.Edit_G1->setText(U("書籍"));
        w.Edit_G2->setText(U("文房具セット"));
        w.KyNumEdit_KOSUU->SetText("2");
        w.KyNumEdit_PriceSub->SetText("10500");
        w.CheckBox_p1->setChecked(true);
        w.Edit_G3->setFocus();
        QTest::qWait(50);

        QImage shot = w.grab().toImage();
        QCOMPARE(shot.size(), QSize(682, 663) * w.devicePixelRatio());
        QByteArray target = qgetenv("ZARIDI_SCREENSHOT");
        QString path = target.isEmpty() ? QString::fromStdString(fx.File("main-window.png"))
                                        : QString::fromLocal8Bit(target);
        QVERIFY(shot.save(path, "PNG"));
    }
};

QTEST_MAIN(MainWindowScreenshot)
#include "main_window_screenshot.moc"
