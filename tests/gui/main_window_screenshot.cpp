// Fills the main window with a realistic slip and saves a picture of it, of its F5 preview, of the order
// queue (F8), the history (F6) and the printer registration: to the files $ZARIDI_SCREENSHOT,
// $ZARIDI_PREVIEW_SCREENSHOT, $ZARIDI_ORDERS_SCREENSHOT, $ZARIDI_HISTORY_SCREENSHOT and
// $ZARIDI_REGISTRATION_SCREENSHOT name (scripts/screenshot writes them under docs/), otherwise into the
// test's own directory.
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/history/HistoryWindow.h"
#include "app/qt/orders/OrderQueueWindow.h"
#include "app/qt/print/PreviewWindow.h"
#include "gui/support/FormFixture.h"
#include "history/HistoryStore.h"
#include "slip/SampleSlip.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QtTest>

namespace {

// The window filled with a realistic slip, as the pictures in README show it.
TForm_Main& StartFilled(FormFixture& fx) {
    fx.Write("my0.txt", Cp932FromUtf8("160-0023\r\n東京都新宿区西新宿1-2-"
                                      "3\r\nタヴォビル5F\r\n株式会社タヴォ商会\r\n03-1234-0000\r\n"));
    TForm_Main& w = fx.Start();
    w.Memo1->setPlainText(
        QFromUtf8("ご注文ありがとうございます。\nお届け先：〒530-0001\n大阪府大阪市北区梅田3-1-1"));
    w.Edit_Zip->setText(QFromUtf8("530-0001"));
    w.Edit_Add1->setText(QFromUtf8("大阪府大阪市北区梅田3-1-1"));
    w.Edit_Add2->setText(QFromUtf8("梅田スカイマンション1203号"));
    w.Edit_Custo1->setText(QFromUtf8("山田　花子"));
    w.Edit_tel->setText(QFromUtf8("06-6345-1234"));
    w.Edit_G1->setText(QFromUtf8("書籍"));
    w.Edit_G2->setText(QFromUtf8("文房具セット"));
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
        fx.Write(
            "tavo_a500.ini",
            Cp932FromUtf8("[手差し]\r\nPrnName=slip\r\nPrnNoIndex=1\r\ntavPrn_Top=0\r\ntavPrn_Left=0\r\n"));
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

    // F8 with a shop's export read in: its orders, what each needs looked at, and the run's buttons.
    void savesTheOrderQueue() {
        FormFixture fx;
        TForm_Main& w = StartFilled(fx);
        OrderQueueWindow::SetFileChooser([](const QString&) {
            return QStringLiteral(ZARIDI_SOURCE_DIR "/tests/unit/orders/data/mall_cp932.csv");
        });
        w.Edit_Zip->setFocus();
        QTest::keyClick(w.Edit_Zip, Qt::Key_F8);
        QVERIFY(w.OrderQueue());
        QTRY_COMPARE(w.OrderQueue()->Count(), 3);
        QVERIFY(QTest::qWaitForWindowExposed(w.OrderQueue()));
        QTest::qWait(50);
        QVERIFY(w.OrderQueue()->grab().toImage().save(Target(fx, "ZARIDI_ORDERS_SCREENSHOT", "orders.png"),
                                                      "PNG"));
    }

    // F6 over a few printed slips: one with its slip number, one spoiled, one from a shop's order.
    void savesTheHistory() {
        FormFixture fx;
        {
            auto store = history::OpenStore(history::LocationFromArgument(fx.File("tavo_Zaridi2.db")));
            const char* names[] = {"山田　花子", "佐藤　一郎", "鈴木　美咲", "高橋　健"};
            for (int i = 0; i < 4; ++i) {
                history::HistoryRecord r;
                r.uuid = history::NewUuid();
                r.time = QStringLiteral("2026-12-0%1T1%1:05:00+09:00").arg(i + 4).toStdString();
                r.printer = "slip";
                r.values = slip::SampleSlip();
                r.values.Edit_Custo1 = Cp932FromUtf8(names[i]);
                if (i == 1) r.tracking = "512547514334";
                if (i == 2) r.isVoid = true;
                if (i == 3) {
                    r.order = "100001-20261207-0001";
                    r.platform = "rakuten";
                    r.delivery = {"2026-12-10", Cp932FromUtf8("14-16時")};
                    r.changed = {"Edit_Custo1", "KyNumEdit_KOSUU"};
                }
                store->Insert(r);
            }
        }
        TForm_Main& w = StartFilled(fx);
        w.Edit_Zip->setFocus();
        QTest::keyClick(w.Edit_Zip, Qt::Key_F6);
        auto* h = w.findChild<THistoryWindow*>();
        QVERIFY(h);
        QVERIFY(QTest::qWaitForWindowExposed(h));
        QTRY_COMPARE(h->RowCount(), 4);
        QTest::qWait(50);
        QVERIFY(h->grab().toImage().save(Target(fx, "ZARIDI_HISTORY_SCREENSHOT", "history.png"), "PNG"));
    }

    // The printer registration of the slip type on screen, offering the private scheduler's queues.
    void savesThePrinterRegistration() {
        FormFixture fx;
        TForm_Main& w = StartFilled(fx);
        bool saved = false;
        InDialog user([&](QWidget* d) {
            QTest::qWait(50);
            saved = d->grab().toImage().save(Target(fx, "ZARIDI_REGISTRATION_SCREENSHOT", "registration.png"),
                                             "PNG");
            qobject_cast<QDialog*>(d)->reject();
        });
        QTest::mouseClick(w.BitBtn_PrnSet, Qt::LeftButton);
        QVERIFY(user.opened);
        QVERIFY(saved);
    }
};

QTEST_MAIN(MainWindowScreenshot)
#include "main_window_screenshot.moc"
