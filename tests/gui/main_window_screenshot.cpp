// Fills the main window with a realistic slip and saves a picture of it, and one of its F5 preview: to
// $ZARIDI_SCREENSHOT and $ZARIDI_PREVIEW_SCREENSHOT when set (scripts/screenshot writes
// docs/main-window.png and docs/preview.png), otherwise into the test's own directory.
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/print/PreviewWindow.h"
#include "gui/support/FormFixture.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QtTest>

namespace {

// The window filled with a realistic slip, as the pictures in README show it.
TForm_Main& StartFilled(FormFixture& fx) {
    fx.Write("my0.txt", Sj("160-0023\r\n東京都新宿区西新宿1-2-"
                           "3\r\nタヴォビル5F\r\n株式会社タヴォ商会\r\n03-1234-0000\r\n"));
    TForm_Main& w = fx.Start();
    w.Memo1->setPlainText(U("ご注文ありがとうございます。\nお届け先：〒530-0001\n大阪府大阪市北区梅田3-1-1"));
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
    return w;
}

// Where a picture goes: the file the environment names, else the test's own directory.
QString Target(FormFixture& fx, const char* variable, const char* name) {
    const QByteArray target = qgetenv(variable);
    return target.isEmpty() ? QString::fromStdString(fx.File(name)) : QString::fromLocal8Bit(target);
}

} // namespace

class MainWindowScreenshot : public QObject {
    Q_OBJECT
private slots:
    void savesFilledWindow() {
        FormFixture fx;
        TForm_Main& w = StartFilled(fx);
        w.Edit_G3->setFocus();
        QTest::qWait(50);

        QImage shot = w.grab().toImage();
        QCOMPARE(shot.size(), QSize(682, 663) * w.devicePixelRatio());
        QVERIFY(shot.save(Target(fx, "ZARIDI_SCREENSHOT", "main-window.png"), "PNG"));
    }

    // The F5 preview of the same slip, on the printer registered for it ("slip" of the private scheduler).
    void savesThePreview() {
        FormFixture fx;
        fx.Write("tavo_a500.ini",
                 Sj("[手差し]\r\nPrnName=slip\r\nPrnNoIndex=1\r\ntavPrn_Top=0\r\ntavPrn_Left=0\r\n"));
        TForm_Main& w = StartFilled(fx);
        w.Edit_Zip->setFocus();
        QTest::keyClick(w.Edit_Zip, Qt::Key_F5);
        QVERIFY(Form_Preview);
        QVERIFY(QTest::qWaitForWindowExposed(Form_Preview));
        QVERIFY(Form_Preview->Label_Missing->isHidden());
        QTest::qWait(50);
        QImage shot = Form_Preview->grab().toImage();
        QVERIFY(shot.save(Target(fx, "ZARIDI_PREVIEW_SCREENSHOT", "preview.png"), "PNG"));
    }
};

QTEST_MAIN(MainWindowScreenshot)
#include "main_window_screenshot.moc"
