// The order queue (F8) on the real main window: importing the hand-made exports, picking an order into
// the slip, and real prints on the private CUPS scheduler that mark orders and move on. The file is read
// on another thread, so the column dialog opens while the window waits: WhenDialog answers it then.
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/history/HistoryModel.h"
#include "app/qt/history/HistoryRecording.h"
#include "app/qt/history/HistoryWindow.h"
#include "app/qt/orders/OrderMappingDialog.h"
#include "app/qt/orders/OrderQueueWindow.h"
#include "gui/support/FormFixture.h"
#include "history/HistoryStore.h"
#include "history/QueueStore.h"
#include "orders/Orders.h"
#include "queue/StoreQueueStates.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include <cups/cups.h>

namespace {

using Status = OrderQueueWindow::Status;

QString Sample(const char* name) {
    return QStringLiteral(ZARIDI_SOURCE_DIR "/tests/unit/orders/data/") + QString::fromUtf8(name);
}

int LastJob() {
    cups_job_t* jobs = nullptr;
    int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
    int last = 0;
    for (int i = 0; i < n; ++i)
        last = std::max(last, jobs[i].id);
    cupsFreeJobs(n, jobs);
    return last;
}

// The text of every page the scheduler received after job `after` (other tests may print meanwhile).
QStringList PrintedSince(int after) {
    QStringList pages;
    for (int id = after + 1; id <= LastJob(); ++id) {
        QProcess p;
        p.start("pdftotext",
                {"-enc", "UTF-8",
                 qEnvironmentVariable("ZARIDI_CUPS_DIR") + QString::asprintf("/spool/d%05d-001", id), "-"});
        p.waitForFinished();
        pages << QString::fromUtf8(p.readAllStandardOutput());
    }
    return pages;
}

// How many of the pages carry `text`.
int Pages(const QStringList& pages, const char* text) {
    return static_cast<int>(pages.filter(QFromUtf8(text)).size());
}

// Answers the next modal dialog as soon as it opens, also when that is a while after this is made.
class WhenDialog {
public:
    explicit WhenDialog(std::function<void(QWidget*)> act) : act_(std::move(act)) {
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            QWidget* d = QApplication::activeModalWidget();
            if (!d || !d->isVisible()) return;
            poll_.stop();
            opened = true;
            (void)QTest::qWaitForWindowActive(d);
            act_(d);
            // A failed check inside must not leave the test waiting on an open dialog.
            if (auto* dialog = qobject_cast<QDialog*>(d); dialog && dialog->isVisible()) dialog->reject();
        });
        poll_.start(5);
    }
    bool opened = false;

private:
    std::function<void(QWidget*)> act_;
    QTimer poll_;
};

std::size_t Kind(orders::OrderColumn c) {
    const auto& infos = orders::OrderColumnInfos();
    return static_cast<std::size_t>(
        std::find_if(infos.begin(), infos.end(), [c](const auto& i) { return i.column == c; }) -
        infos.begin());
}

} // namespace

class OrderQueue : public QObject {
    Q_OBJECT
    std::unique_ptr<FormFixture> fx;
    QString chosen; // what the file dialog answers

    TForm_Main& Start() {
        fx->Write("my0.txt", Cp932FromUtf8("150-0001\r\n東京都渋谷区\r\n\r\n見本茶舗\r\n03-0000-0000\r\n"));
        if (!fx->Exists("tavo_a500.ini")) // slips print on the first printer, registered for both types
            fx->Write("tavo_a500.ini",
                      Cp932FromUtf8("[手差し]\r\nPrnNoIndex=0\r\n[連続(４インチ)]\r\nPrnNoIndex=0\r\n"));
        TForm_Main& w = fx->Start();
        OrderQueueWindow::SetFileChooser([this](const QString&) { return chosen; });
        return w;
    }
    // F8 in the postcode field, the file dialog answered with `file`.
    OrderQueueWindow& Open(TForm_Main& w, const QString& file) {
        chosen = file;
        QTest::keyClick(w.Edit_Zip, Qt::Key_F8);
        return *w.OrderQueue();
    }
    static void Expect(TForm_Main& w, const orders::Order& o) {
        const slip::Record f = orders::FieldsForSlip(o.fields);
        QCOMPARE(TForm_Main::Cp(w.Edit_Zip), f.Edit_Zip);
        QCOMPARE(TForm_Main::Cp(w.Edit_Add1), f.Edit_Add1);
        QCOMPARE(TForm_Main::Cp(w.Edit_Add2), f.Edit_Add2);
        QCOMPARE(TForm_Main::Cp(w.Edit_Add3), f.Edit_Add3);
        QCOMPARE(TForm_Main::Cp(w.Edit_Custo1), f.Edit_Custo1);
        QCOMPARE(TForm_Main::Cp(w.Edit_tel), f.Edit_tel);
        QCOMPARE(TForm_Main::Cp(w.Edit_G1), f.Edit_G1);
        QCOMPARE(TForm_Main::Cp(w.Edit_G2), f.Edit_G2);
        QCOMPARE(TForm_Main::Cp(w.Edit_G3), f.Edit_G3);
        QCOMPARE(w.KyNumEdit_KOSUU->Text(), f.KyNumEdit_KOSUU);
        QCOMPARE(w.KyNumEdit_PriceSub->Text(), f.KyNumEdit_PriceSub);
        QCOMPARE(w.CheckBox_p1->isChecked(), f.CheckBox_p1);
    }

private slots:
    void init() {
        if (qEnvironmentVariableIsEmpty("ZARIDI_CUPS_DIR"))
            QSKIP("needs the private scheduler (ctest starts it)");
        fx = std::make_unique<FormFixture>();
    }
    void cleanup() {
        OrderQueueWindow::SetFileChooser({});
        fx.reset();
    }

    void pickedOrderFillsTheSlipAndEachPrintMovesOnWhileTheUserFeedsSlips() {
        TForm_Main& w = Start();
        const std::string sender = TForm_Main::Cp(w.Edit_My);
        OrderQueueWindow& q = Open(w, Sample("mall_cp932.csv"));
        QVERIFY(q.isVisible());
        QCOMPARE(q.Count(), 3);
        QVERIFY(w.Edit_Zip->text().isEmpty()); // importing alone changes nothing on the slip
        QCOMPARE(w.CurrentOrderRef(), std::string());

        QTest::keyClick(q.Table, Qt::Key_Return); // the first order is selected
        Expect(w, q.OrderAt(0));
        QCOMPARE(w.Edit_Custo1->text(), QFromUtf8("佐藤　花子"));
        QCOMPARE(TForm_Main::Cp(w.Edit_My), sender);
        QCOMPARE(w.CurrentOrderRef(), std::string("100001-20240501-0001"));
        QCOMPARE(w.CurrentOrder().platform, std::string("rakuten"));
        QTRY_VERIFY(w.Edit_Zip->hasFocus());

        // F11 and Yes: printed, the next order is loaded and told, and waits for F11; a corrected
        // name keeps it linked.
        const int before = LastJob();
        fx->boxes.AnswerNext(true);
        QTest::keyClick(w.Edit_Zip, Qt::Key_F11);
        QTRY_COMPARE(fx->boxes.Shown().size(), std::size_t{2});
        QVERIFY(fx->boxes.Errors().empty());
        QVERIFY(fx->boxes.Shown()[1].text.startsWith(QFromUtf8("次の送り状をセットしてください")));
        QVERIFY(fx->boxes.Shown()[1].text.contains(QString::fromStdString(q.OrderAt(1).ref)));
        QCOMPARE(q.StatusOf(1), Status::Open);
        Expect(w, q.OrderAt(1));
        w.Edit_Custo1->end(false);
        QTest::keyClicks(w.Edit_Custo1, "-2");
        QCOMPARE(w.CurrentOrderRef(), q.OrderAt(1).ref);
        fx->boxes.AnswerNext(true);
        QTest::keyClick(w.Edit_Zip, Qt::Key_F11);
        QTRY_COMPARE(fx->boxes.Shown().size(), std::size_t{4});
        QCOMPARE(q.StatusOf(0), Status::Printed);
        QCOMPARE(q.StatusOf(1), Status::Printed);
        QCOMPARE(q.StatusOf(2), Status::Open);
        QCOMPARE(q.Current(), 2);
        Expect(w, q.OrderAt(2));
        QCOMPARE(w.CurrentOrderRef(), std::string("100001-20240501-0003"));
        QTRY_VERIFY(w.Edit_Zip->hasFocus());
        const QStringList pages = PrintedSince(before);
        QCOMPARE(Pages(pages, "佐藤"), 1);
        QCOMPARE(Pages(pages, "鈴木"), 1);
        QCOMPARE(Pages(pages, "高橋"), 0);

        // Imported afresh, the file adds nothing to the queue, whose printed orders stay printed and are
        // asked about; an order new to the queue that the history has as printed (here the same order in
        // another file's layout) is held, flagged and asked about.
        QVERIFY(q.Import(Sample("mall_cp932.csv")));
        QCOMPARE(q.Queue().LastImport().already, std::size_t{3});
        QCOMPARE(q.StatusOf(0), Status::Printed);
        QCOMPARE(q.StatusOf(2), Status::Open);
        fx->boxes.AnswerNext(false);
        QVERIFY(!q.Pick(0));
        QVERIFY(fx->boxes.Shown().back().text.contains(QFromUtf8("印刷済み")));
        fx->Write("again.csv",
                  "注文番号,郵便番号,住所,お名前\n100001-20240501-0001,160-0022,東京都新宿区,佐藤 花子\n");
        QVERIFY(q.Import(QString::fromStdString(fx->File("again.csv"))));
        QCOMPARE(q.Count(), 4);
        QCOMPARE(q.StatusOf(3), Status::Held);
        QVERIFY(q.OrderAt(3).warnings.back().text.find("印刷済み") != std::string::npos);
        fx->boxes.AnswerNext(false);
        QVERIFY(!q.Pick(3));
        QVERIFY(fx->boxes.Shown().back().text.contains(QFromUtf8("印刷済み")));
        QCOMPARE(q.Current(), 2);
    }

    void continuousSlipsPrintTheRestOneJobEachSkippingHeldOrders() {
        TForm_Main& w = Start();
        SelectSlipType(w, 1);
        OrderQueueWindow& q = Open(w, Sample("mall_cp932.csv"));
        q.ToggleHold(1);
        QCOMPARE(q.StatusOf(1), Status::Held);
        const int before = LastJob();
        fx->boxes.AnswerNext(true);
        QTest::mouseClick(q.Button_PrintRest, Qt::LeftButton);
        QCOMPARE(fx->boxes.Shown().at(0).text, QFromUtf8("残りの注文 2件をすべて印刷しますか?"));
        QVERIFY(q.Running());
        QVERIFY(q.Button_Stop->isVisible());
        QTRY_VERIFY(!q.Running());
        QVERIFY(fx->boxes.Errors().empty());
        QCOMPARE(q.StatusOf(0), Status::Printed);
        QCOMPARE(q.StatusOf(1), Status::Held);
        QCOMPARE(q.StatusOf(2), Status::Printed);
        const QStringList pages = PrintedSince(before);
        QCOMPARE(Pages(pages, "佐藤"), 1);
        QCOMPARE(Pages(pages, "高橋"), 1);
        QCOMPARE(Pages(pages, "鈴木"), 0);

        // Picking a printed order again asks first.
        fx->boxes.AnswerNext(false);
        QVERIFY(!q.Pick(0));
        QVERIFY(fx->boxes.Shown().back().text.contains(QFromUtf8("印刷済み")));
        QCOMPARE(q.Current(), 2);
    }

    void stopEndsTheRunAfterTheJobUnderWay() {
        TForm_Main& w = Start();
        SelectSlipType(w, 1);
        OrderQueueWindow& q = Open(w, Sample("mall_cp932.csv"));
        connect(&w, &TForm_Main::SlipPrinted, &q, [&q] { QTest::mouseClick(q.Button_Stop, Qt::LeftButton); });
        fx->boxes.AnswerNext(true);
        QTest::mouseClick(q.Button_PrintRest, Qt::LeftButton);
        QTRY_VERIFY(!q.Running());
        QCOMPARE(q.StatusOf(0), Status::Printed);
        QCOMPARE(q.StatusOf(1), Status::Open);
        QCOMPARE(q.Current(), 1);
        QVERIFY(q.Label_State->text().contains(QFromUtf8("中止")));
    }

    void failedJobStopsTheRunAndMarksNothing() {
        // A margin with decimals makes the layout refuse the page: the job is abandoned.
        fx->Write("tavo_a500.ini",
                  Cp932FromUtf8("[連続(４インチ)]\r\nPrnNoIndex=0\r\ntavPrn_Top=1.5\r\ntavPrn_Left=0\r\n"));
        TForm_Main& w = Start();
        SelectSlipType(w, 1);
        OrderQueueWindow& q = Open(w, Sample("mall_cp932.csv"));
        fx->boxes.AnswerNext(true);
        QTest::mouseClick(q.Button_PrintRest, Qt::LeftButton);
        QTRY_VERIFY(!q.Running());
        QCOMPARE(fx->boxes.Errors(),
                 std::vector<QString>{QStringLiteral("'1.5' is not a valid integer value")});
        for (int row = 0; row < q.Count(); ++row)
            QCOMPARE(q.StatusOf(row), Status::Open);
        QCOMPARE(q.Current(), 0);
    }

    void charactersShiftJisCannotHoldStayInTheQueueAndBecomeQuestionMarksOnTheSlip() {
        TForm_Main& w = Start();
        OrderQueueWindow& q = Open(w, Sample("store_utf8_bom.csv"));
        const QModelIndex name = q.Table->model()->index(0, 2);
        QCOMPARE(name.data().toString(), QFromUtf8("𠮷田 花子"));
        QVERIFY(q.Label_Warnings->text().contains(QFromUtf8("𠮷")));
        QVERIFY(q.Pick(0));
        QCOMPARE(w.Edit_Custo1->text(), QFromUtf8("?田 花子"));
    }

    void clearingTheConsigneeEndsTheOrderSoItsPrintMarksNothing() {
        TForm_Main& w = Start();
        SelectSlipType(w, 1);
        OrderQueueWindow& q = Open(w, Sample("mall_cp932.csv"));
        QVERIFY(q.Pick(0));
        fx->boxes.AnswerNext(true);
        QTest::mouseClick(w.BitBtn_CLS, Qt::LeftButton);
        QVERIFY(!w.FromOrder());
        QCOMPARE(w.CurrentOrderRef(), std::string());
        TypeText(w.Edit_Custo1, QFromUtf8("手書き"));
        fx->boxes.AnswerNext(true);
        QTest::keyClick(w.Edit_Custo1, Qt::Key_F11);
        QVERIFY(fx->boxes.Errors().empty());
        QCOMPARE(q.StatusOf(0), Status::Open);
        QCOMPARE(w.Edit_Custo1->text(), QFromUtf8("手書き"));

        QVERIFY(q.Pick(1)); // a corrected name keeps the order; a cleared one lets it go
        TypeText(w.Edit_Custo1, QFromUtf8("様"));
        QVERIFY(w.FromOrder());
        w.Edit_Custo1->selectAll();
        QTest::keyClick(w.Edit_Custo1, Qt::Key_Delete);
        QVERIFY(!w.FromOrder());
    }

    // The postcode data beside the program (the build's index) checks each order as it is loaded.
    void anOrderWhosePostcodeDoesNotFitItsAddressIsMarkedBesideThePostcode() {
        TForm_Main& w = Start();
        if (!QFile::exists(QCoreApplication::applicationDirPath() + "/postcode.idx"))
            QSKIP("the build has no postcode index (scripts/deps could not fetch the data)");
        fx->Write("mismatch.csv", "注文番号,送付先郵便番号,送付先住所1,送付先氏名\n"
                                  "1,530-0001,東京都新宿区新宿3-1,A\n"); // UTF-8: 530-0001 is in Osaka
        OrderQueueWindow& q = Open(w, QString::fromStdString(fx->File("mismatch.csv")));
        QCOMPARE(q.Count(), 1);
        QTest::keyClick(q.Table, Qt::Key_Return);
        QVERIFY(w.Label_ZipWarning->text().contains(QFromUtf8("郵便番号と住所が一致しません")));
    }

    void badFileIsReportedWithItsRowAndChangesNothing() {
        TForm_Main& w = Start();
        OrderQueueWindow& q = Open(w, Sample("mall_cp932.csv"));
        QVERIFY(q.Pick(0));
        fx->Write("ragged.csv", "a,b\r\n1,2,3\r\n");
        QVERIFY(!q.Import(QString::fromStdString(fx->File("ragged.csv"))));
        QCOMPARE(fx->boxes.Errors().size(), std::size_t{1});
        QVERIFY(fx->boxes.Errors()[0].contains(QFromUtf8("ragged.csv")));
        QVERIFY(fx->boxes.Errors()[0].contains(QFromUtf8("2行目")));
        QCOMPARE(q.Count(), 3);
        QCOMPARE(q.Current(), 0);
        Expect(w, q.OrderAt(0));
        QCOMPARE(w.CurrentOrderRef(), std::string("100001-20240501-0001"));

        // The file dialog opens where the last file was.
        QString folder;
        OrderQueueWindow::SetFileChooser([&folder](const QString& f) {
            folder = f;
            return QString();
        });
        QTest::mouseClick(q.Button_Open, Qt::LeftButton);
        QCOMPARE(folder, QFileInfo(Sample("mall_cp932.csv")).absolutePath());
        QCOMPARE(q.Count(), 3);
    }

    void columnsAssignedInTheDialogAreSavedSoTheNextImportAsksNothing() {
        TForm_Main& w = Start();
        fx->Write("shop.csv", Cp932FromUtf8("受付番号,送り先〒,送り先住所,届け人,品物\r\n"
                                            "R-1,1000001,東京都千代田区千代田1-1,山田 一郎,緑茶\r\n"
                                            "R-2,5300001,大阪府大阪市北区梅田1-1,川口 二郎,紅茶\r\n"));
        auto kind = Kind;
        bool okBefore = true;
        QString sample;
        WhenDialog user([&](QWidget* d) {
            auto* dlg = qobject_cast<OrderMappingDialog*>(d);
            QVERIFY(dlg);
            okBefore = dlg->Buttons->button(QDialogButtonBox::Ok)->isEnabled();
            dlg->Column[kind(orders::OrderColumn::Name)]->setCurrentIndex(4);
            dlg->Column[kind(orders::OrderColumn::ItemName)]->setCurrentIndex(5);
            sample = dlg->Sample[kind(orders::OrderColumn::Name)]->text();
            dlg->Buttons->button(QDialogButtonBox::Ok)->click();
        });
        OrderQueueWindow& q = Open(w, QString::fromStdString(fx->File("shop.csv")));
        QVERIFY(user.opened);
        QVERIFY(!okBefore);
        QCOMPARE(sample, QFromUtf8("山田 一郎"));
        QCOMPARE(q.Count(), 2);
        QCOMPARE(q.OrderAt(1).fields.Edit_Custo1, std::string("川口 二郎"));
        QCOMPARE(q.OrderAt(1).fields.Edit_G1, std::string("紅茶"));
        QVERIFY(fx->Read("tavo_orders.ini").find(Cp932FromUtf8("Name=届け人\r\n")) != std::string::npos);

        WhenDialog again([](QWidget*) {});
        QVERIFY(q.Import(QString::fromStdString(fx->File("shop.csv"))));
        QVERIFY(!again.opened);
        QCOMPARE(q.OrderAt(1).fields.Edit_Custo1, std::string("川口 二郎"));
        QVERIFY(w.Edit_Custo1->text().isEmpty());
    }

    // A payment and an amount column no rule knows: asked for, with the file importable without them.
    void cashOnDeliveryColumnsNoRuleKnowsAreAskedForAndFillTheAmount() {
        TForm_Main& w = Start();
        fx->Write("cod.csv",
                  Cp932FromUtf8("注文番号,郵便番号,住所,お名前,お支払い区分,ご請求額\r\n"
                                "1,1000001,東京都千代田区千代田1-1,山田 一郎,代金引換,\"3,000\"\r\n"));
        bool okBefore = false;
        QString intro;
        WhenDialog user([&](QWidget* d) {
            auto* dlg = qobject_cast<OrderMappingDialog*>(d);
            QVERIFY(dlg);
            okBefore = dlg->Buttons->button(QDialogButtonBox::Ok)->isEnabled(); // "none" would do
            intro = dlg->Intro->text();
            dlg->Column[Kind(orders::OrderColumn::Payment)]->setCurrentIndex(5);
            dlg->Column[Kind(orders::OrderColumn::Total)]->setCurrentIndex(6);
            dlg->Buttons->button(QDialogButtonBox::Ok)->click();
        });
        OrderQueueWindow& q = Open(w, QString::fromStdString(fx->File("cod.csv")));
        QVERIFY(user.opened);
        QVERIFY(okBefore);
        QVERIFY(intro.contains(QFromUtf8("支払方法・合計金額")));
        QVERIFY(q.Pick(0));
        QCOMPARE(w.KyNumEdit_PriceSub->Text(), std::string("3000"));
        QVERIFY(w.CheckBox_p1->isChecked());
    }

    // Cosmetic rewrites stay quiet; an order that loses a character is a problem, listed before a run
    // prints anything.
    void printRestListsTheOrdersWithProblemsAndAsksFirst() {
        TForm_Main& w = Start();
        SelectSlipType(w, 1);
        OrderQueueWindow& q = Open(w, Sample("shopify_orders_utf8_bom.csv"));
        QVERIFY(q.Label_File->text().contains(QFromUtf8("確認が必要な注文 1件")));
        QVERIFY(!q.Table->model()->index(0, 7).data().toString().contains(QFromUtf8("確認が必要")));
        QVERIFY(q.Table->model()->index(2, 7).data().toString().startsWith(QFromUtf8("確認が必要: ")));
        const int before = LastJob();
        fx->boxes.AnswerNext(false);
        QTest::mouseClick(q.Button_PrintRest, Qt::LeftButton);
        QCOMPARE(fx->boxes.Shown().size(), std::size_t{1});
        const QString listed = fx->boxes.Shown()[0].text;
        QVERIFY(listed.startsWith(QFromUtf8("確認が必要な注文が 1件あります。")));
        QVERIFY(listed.contains(QFromUtf8("#1003")) && listed.contains(QFromUtf8("𠮷")));
        QVERIFY(!q.Running());
        QCOMPARE(LastJob(), before);

        fx->boxes.AnswerNext(true);
        fx->boxes.AnswerNext(true);
        QTest::mouseClick(q.Button_PrintRest, Qt::LeftButton);
        QCOMPARE(fx->boxes.Shown().at(2).text, QFromUtf8("残りの注文 3件をすべて印刷しますか?"));
        QTRY_VERIFY(!q.Running());
        for (int row = 0; row < q.Count(); ++row)
            QCOMPARE(q.StatusOf(row), Status::Printed);
    }

    void theRequestedDeliveryShowsInTheListAndInTheF11Question() {
        TForm_Main& w = Start();
        OrderQueueWindow& q = Open(w, Sample("rakuten_pay_cp932.csv"));
        QCOMPARE(q.Table->model()->index(0, 6).data().toString(), QFromUtf8("12/10 14-16時"));
        QCOMPARE(q.Table->model()->index(1, 6).data().toString(),
                 QFromUtf8("午前中")); // from the customer's comment
        QVERIFY(q.Pick(0));
        fx->boxes.AnswerNext(false);
        QTest::keyClick(w.Edit_Zip, Qt::Key_F11);
        QVERIFY(
            fx->boxes.Shown().back().text.contains(QFromUtf8("お届け日指定: 12/10 14-16時\n印刷しますか?")));
        fx->boxes.AnswerNext(true);
        QTest::mouseClick(w.BitBtn_CLS, Qt::LeftButton); // the slip is no longer the order's
        fx->boxes.AnswerNext(false);
        QTest::keyClick(w.Edit_Zip, Qt::Key_F11);
        QVERIFY(!fx->boxes.Shown().back().text.contains(QFromUtf8("お届け日指定")));
    }

    // A slip of an order corrected before F11: its history row keeps what the customer asked for and
    // which fields were changed from the order, and the history window shows both in Japanese.
    void theHistoryKeepsTheRequestedDeliveryAndWhatWasChangedFromTheOrder() {
        TForm_Main& w = Start();
        SelectSlipType(w, 1);
        OrderQueueWindow& q = Open(w, Sample("rakuten_pay_cp932.csv"));
        QVERIFY(q.Pick(0));
        w.Edit_Custo1->setFocus();
        QTest::keyClick(w.Edit_Custo1, Qt::Key_End);
        QTest::keyClick(w.Edit_Custo1, Qt::Key_Backspace);
        w.KyNumEdit_KOSUU->SetText("3");
        const int before = LastJob();
        fx->boxes.AnswerNext(true);
        QTest::keyClick(w.Edit_Custo1, Qt::Key_F11);
        QVERIFY(LastJob() > before);
        QTRY_VERIFY_WITH_TIMEOUT(!w.HistoryDesk().Recording(), 20000);
        const auto rows =
            history::OpenStore(history::LocationFromArgument(fx->File("tavo_Zaridi2.db")))->Search({});
        QCOMPARE(rows.size(), std::size_t{1});
        QCOMPARE(rows[0].order, std::string("100001-20241201-0000001"));
        QVERIFY(rows[0].delivery == (history::DeliveryRequest{"2024-12-10", Cp932FromUtf8("14-16時")}));
        QVERIFY(rows[0].changed == (std::vector<std::string>{"Edit_Custo1", "KyNumEdit_KOSUU"}));

        QTest::keyClick(w.Edit_Zip, Qt::Key_F6);
        auto* h = w.findChild<THistoryWindow*>();
        QVERIFY(h);
        QTRY_COMPARE(h->RowCount(), 1);
        const QAbstractItemModel& m = *h->Grid->model();
        QCOMPARE(m.headerData(THistoryModel::Delivery, Qt::Horizontal).toString(), QFromUtf8("お届け指定"));
        QCOMPARE(m.headerData(THistoryModel::Changed, Qt::Horizontal).toString(), QFromUtf8("注文から変更"));
        QCOMPARE(m.index(0, THistoryModel::Delivery).data().toString(), QFromUtf8("12/10 14-16時"));
        QCOMPARE(m.index(0, THistoryModel::Changed).data().toString(), QFromUtf8("おなまえ、個数"));
        h->close();
    }

    // Another desk on the same store: its claim is shown, refused to a pick, passed over by a run, and
    // open again once that desk has gone.
    void anotherDesksOrderIsShownAndLeftToIt() {
        fx->Write("tavo_Zaridi2.ini", Cp932FromUtf8("[OrderQueue]\r\nDesk=梱包1\r\n"));
        TForm_Main& w = Start();
        SelectSlipType(w, 1);
        OrderQueueWindow& q = Open(w, Sample("mall_cp932.csv"));
        QCOMPARE(q.Label_Desk->text(), QFromUtf8("作業台: 梱包1")); // shown where desks share a server
        auto store = history::OpenStore(history::LocationFromArgument(fx->File("tavo_Zaridi2.db")));
        auto other = std::make_unique<history::QueueStore>(*store);
        QVERIFY(other->Claim(q.Shared()->IdAt(1), "B").mine);
        q.Refresh();
        QCOMPARE(q.StatusOf(1), Status::Claimed);
        QCOMPARE(q.Table->model()->index(1, 0).data().toString(), QFromUtf8("作業中（B）"));
        QVERIFY(!q.Pick(1));
        QCOMPARE(fx->boxes.Shown().back().text,
                 QFromUtf8("注文「100001-20240501-0002」は作業台「B」が作業中です"));

        fx->boxes.AnswerNext(true);
        QTest::mouseClick(q.Button_PrintRest, Qt::LeftButton);
        QCOMPARE(fx->boxes.Shown().back().text, QFromUtf8("残りの注文 2件をすべて印刷しますか?"));
        QTRY_VERIFY(!q.Running());
        QCOMPARE(q.StatusOf(0), Status::Printed);
        QCOMPARE(q.StatusOf(2), Status::Printed);
        QTRY_COMPARE(other->Count().printed, std::size_t{2}); // the slips' records mark them
        other.reset();
        store.reset();
        QTRY_VERIFY((q.Refresh(), q.StatusOf(1) == Status::Open));
    }

    // A server that does not answer: the window says so, and an import is refused, not kept apart.
    void aServerThatDoesNotAnswerIsSaidAndAnImportRefused() {
        fx->Write("tavo_Zaridi2.ini", "[History]\r\nServer=" + fx->File("no-server") + "\r\n");
        TForm_Main& w = Start();
        OrderQueueWindow& q = Open(w, Sample("mall_cp932.csv"));
        QVERIFY(q.Label_Trouble->isVisible());
        QVERIFY(q.Label_Trouble->text().startsWith(QFromUtf8("共有の注文一覧につながりません")));
        QCOMPARE(fx->boxes.Errors().size(), std::size_t{1});
        QVERIFY(fx->boxes.Errors()[0].contains(QFromUtf8("履歴サーバー")));
        QCOMPARE(q.Count(), 0);
    }

    // A large file is read on another thread: the window repaints and shows the rows read meanwhile.
    void aLargeFileIsReadWhileTheWindowStaysResponsive() {
        TForm_Main& w = Start();
        std::string text = "Name,Lineitem name,Shipping Name,Shipping Address1,Shipping City,Shipping Zip\n";
        for (int i = 0; i < 60000; ++i)
            text += "#" + std::to_string(i) + ",緑茶,佐藤 花子,新宿3-1-1,新宿区,160-0022\n";
        fx->Write("large.csv", text);
        OrderQueueWindow& q = Open(w, Sample("mall_cp932.csv"));
        int ticks = 0;
        bool progressShown = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            ++ticks;
            progressShown = progressShown || (q.Importing() && q.Progress->isVisible());
        });
        watch.start(1);
        QVERIFY(q.Import(QString::fromStdString(fx->File("large.csv"))));
        watch.stop();
        QCOMPARE(q.Queue().LastImport().added, std::size_t{60000});
        QCOMPARE(q.Count(), 60003); // the shared queue keeps the first file's orders
        QVERIFY(ticks > 0);
        QVERIFY(progressShown);
        QVERIFY(!q.Progress->isVisible());
    }
};

QTEST_MAIN(OrderQueue)
#include "order_queue.moc"
