// Opens the F5 preview of a realistic slip and saves a picture of it: to $ZARIDI_SCREENSHOT when set
// (scripts/screenshot writes docs/preview.png), otherwise into the test's own directory.
#include "app/qt/LimitedLineEdit.h"
#include "app/qt/PreviewWindow.h"
#include "gui/support/FormFixture.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QtTest>

class PreviewScreenshot : public QObject {
    Q_OBJECT
private slots:
    void savesThePreview() {
        FormFixture fx;
        fx.Write("my0.txt", Sj("160-0023\r\n東京都新宿区西新宿1-2-"
                               "3\r\nタヴォビル5F\r\n株式会社タヴォ商会\r\n03-1234-0000\r\n"));
        fx.Write("tavo_a500.ini",
                 Sj("[手差し]\r\nPrnName=slip\r\nPrnNoIndex=1\r\ntavPrn_Top=0\r\ntavPrn_Left=0\r\n"));
        TForm_Main& w = fx.Start();
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
        w.Edit_Zip->setFocus();
        QTest::keyClick(w.Edit_Zip, Qt::Key_F5);
        QVERIFY(Form_Preview);
        QVERIFY(QTest::qWaitForWindowExposed(Form_Preview));
        QVERIFY(Form_Preview->Label_Missing->isHidden());
        QTest::qWait(50);

        QImage shot = Form_Preview->grab().toImage();
        QVERIFY(!shot.isNull());
        QByteArray target = qgetenv("ZARIDI_SCREENSHOT");
        QString path = target.isEmpty() ? QString::fromStdString(fx.File("preview.png"))
                                        : QString::fromLocal8Bit(target);
        QVERIFY(shot.save(path, "PNG"));
    }
};

QTEST_MAIN(PreviewScreenshot)
#include "preview_screenshot.moc"
