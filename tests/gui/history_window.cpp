// The history window (F6) on the real main window, over a real store in the working folder: search,
// loading a slip back and reprinting it on the private scheduler, tracking scans, the shipped files.
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/history/HistoryModel.h"
#include "app/qt/history/HistoryRecording.h"
#include "app/qt/history/HistoryWindow.h"
#include "app/qt/history/ShippedExportDialog.h"
#include "gui/support/FormFixture.h"
#include "history/HistoryStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <sqlite3.h>

namespace {

// Four slips, printed a day apart; the second carries a tracking number, the first an order
// reference with a "%" in it.
struct Seed {
    const char* day;
    const char* name;
    const char* tel;
    const char* zip;
    const char* address;
    const char* order;
    const char* tracking;
};
const Seed kSeeds[] = {
    {"2024/05/01", "山田太郎", "03-1234-5678", "100-0001", "東京都千代田区千代田１－１", "A-100%", ""},
    {"2024/05/02", "佐藤花子", "06-1111-2222", "530-0001", "大阪府大阪市北区梅田１丁目", "A-1001",
     "111122223333"},
    {"2024/05/03", "山田次郎", "092-333-4444", "810-0001", "福岡県福岡市中央区天神２－２", "", ""},
    {"2024/05/04", "鈴木一郎", "011-555-6666", "060-0001", "北海道札幌市中央区北一条", "", ""},
};

history::HistoryRecord SeedRecord(const Seed& s) {
    history::HistoryRecord r;
    r.time = std::string(s.day).replace(4, 1, "-").replace(7, 1, "-") + "T09:00:00+09:00";
    r.printer = "dotmatrix";
    r.resolutionX = r.resolutionY = 360;
    slip::Record& v = r.values;
    v.ComboBox_SEL = Cp932FromUtf8("連続(４インチ)");
    v.Edit_Zip = s.zip;
    v.Edit_Add1 = Cp932FromUtf8(s.address);
    v.Edit_Add3 = Cp932FromUtf8("３階");
    v.Edit_Custo1 = Cp932FromUtf8(s.name);
    v.Edit_tel = s.tel;
    v.Edit_G1 = Cp932FromUtf8("衣料品");
    v.KyNumEdit_KOSUU = "3";
    v.KyNumEdit_PriceSub = "11000";
    v.KyNumEdit_TaxSub = "1000";
    v.CheckBox_p3 = true;
    v.Edit_MyZip = "530-0002";
    v.Edit_MyADD1 = Cp932FromUtf8("大阪府大阪市北区曽根崎");
    v.Edit_My = Cp932FromUtf8("タヴォ商店");
    v.Edit_MyTEL = "06-0000-0000";
    v.DateTimePicker_1 = s.day;
    r.order = s.order;
    r.tracking = s.tracking;
    return r;
}

// Runs `act` on the next modal dialog of type D as soon as it is open.
template <class D>
void OnModal(std::function<void(D*)> act) {
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, act, tries = 0]() mutable {
        if (auto* d = qobject_cast<D*>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            act(d);
        } else if (++tries > 500) {
            poll->deleteLater();
        }
    });
    poll->start();
}

} // namespace

class HistoryWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<FormFixture> fx;

    std::unique_ptr<history::Store> Store() {
        return history::OpenStore(history::LocationFromArgument(fx->File("tavo_Zaridi2.db")));
    }
    std::vector<history::HistoryRecord> All() {
        history::SearchQuery everything;
        everything.oldestFirst = true;
        return Store()->Search(everything);
    }

    TForm_Main& StartSeeded() {
        auto store = Store();
        for (const Seed& s : kSeeds)
            store->Insert(SeedRecord(s));
        return fx->Start();
    }

    // F6 in the postcode field.
    THistoryWindow& OpenWindow(TForm_Main& w) {
        w.Edit_Zip->setFocus();
        QTest::keyClick(w.Edit_Zip, Qt::Key_F6);
        THistoryWindow* h = w.findChild<THistoryWindow*>();
        (void)QTest::qWaitFor([h] { return h && QApplication::activeWindow() == h; });
        return *h;
    }

    static std::vector<std::int64_t> Ids(const THistoryWindow& h) {
        std::vector<std::int64_t> ids;
        for (int row = 0; row < h.RowCount(); ++row)
            ids.push_back(h.Row(row).id);
        return ids;
    }

    // The tracking cell of record `id` as the list shows it.
    static QString Shown(const THistoryWindow& h, std::int64_t id) {
        for (int row = 0; row < h.RowCount(); ++row)
            if (h.Row(row).id == id)
                return h.Grid->model()->index(row, THistoryModel::Tracking).data().toString();
        return {};
    }

    void SelectId(THistoryWindow& h, std::int64_t id) {
        for (int row = 0; row < h.RowCount(); ++row)
            if (h.Row(row).id == id) h.Grid->setCurrentIndex(h.Grid->model()->index(row, 0));
    }

    // A barcode scanner: the digits and Enter, typed into whatever holds the focus.
    static void Scan(const char* digits) {
        for (const char* c = digits; *c; ++c)
            QTest::keyClick(QApplication::focusWidget(), *c);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }

    void Print(TForm_Main& w) {
        fx->boxes.AnswerNext(true);
        w.Edit_Zip->setFocus();
        QTest::keyClick(w.Edit_Zip, Qt::Key_F11);
        // The record is made on the recording thread; its answer comes back to the window.
        QVERIFY(QTest::qWaitFor([&] { return !w.HistoryDesk().Recording(); }, 20000));
    }

private slots:
    void init() {
        fx = std::make_unique<FormFixture>();
        fx->Write("my0.txt", "\r\n\r\n\r\n\r\n\r\n");
        fx->Write(
            "tavo_a500.ini",
            Cp932FromUtf8(
                "[手差し]\r\nPrnNoIndex=0\r\n[連続(４インチ)]\r\nPrnNoIndex=0\r\n")); // slips print on the
                                                                                      // first printer
    }
    void cleanup() { fx.reset(); }

    void startingOpensNoStoreAndF6HintsInTheHelpBar() {
        TForm_Main& w = fx->Start();
        QTest::mouseMove(w.SpeedButton_F[6]);
        QVERIFY(w.Panel_HelpMess->text().startsWith(QFromUtf8("F6 履歴")));
        QVERIFY(!fx->Exists("tavo_Zaridi2.db"));
    }

    void searchesByEachCriterion_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<qint64>>("ids");
        QTest::newRow("none: newest first") << ""
                                            << "" << QList<qint64>{4, 3, 2, 1};
        QTest::newRow("name") << "Edit_Name" << QFromUtf8("山田") << QList<qint64>{3, 1};
        QTest::newRow("phone digits") << "Edit_Phone"
                                      << "0312345678" << QList<qint64>{1};
        QTest::newRow("postcode digits") << "Edit_Zip" << QFromUtf8("５３０００") << QList<qint64>{2};
        QTest::newRow("address") << "Edit_Address" << QFromUtf8("福岡市") << QList<qint64>{3};
        QTest::newRow("tracking") << "Edit_Tracking"
                                  << "2222" << QList<qint64>{2};
        QTest::newRow("order, % literally") << "Edit_Order"
                                            << "A-100%" << QList<qint64>{1};
        QTest::newRow("days") << "days"
                              << "" << QList<qint64>{3, 2};
    }
    void searchesByEachCriterion() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QList<qint64>, ids);
        THistoryWindow& h = OpenWindow(StartSeeded());
        if (field == "days") {
            h.CheckBox_Days->setChecked(true);
            h.Date_From->setDate(QDate(2024, 5, 3)); // either order
            h.Date_To->setDate(QDate(2024, 5, 2));
            h.Button_Search->click();
        } else if (!field.isEmpty()) {
            auto* edit = h.findChild<QLineEdit*>(field);
            QVERIFY(edit);
            edit->setText(text);
            QTest::keyClick(edit, Qt::Key_Return);
        }
        const std::vector<std::int64_t> got = Ids(h);
        QCOMPARE(QList<qint64>(got.begin(), got.end()), ids);
        QVERIFY(fx->boxes.Shown().empty());
    }

    void loadedSlipReprintsAsARepeatOfTheFirst() {
        TForm_Main& w = StartSeeded();
        THistoryWindow& h = OpenWindow(w);
        SelectId(h, 2);
        QTest::keyClick(h.Grid, Qt::Key_Return);
        QVERIFY(!h.isVisible());
        // The sender as printed, not the current tab's (empty); the slip type as printed.
        QCOMPARE(w.Edit_My->text(), QFromUtf8("タヴォ商店"));
        QCOMPARE(w.ComboBox_SEL->currentText(), QFromUtf8("連続(４インチ)"));
        QCOMPARE(w.Edit_Custo1->text(), QFromUtf8("佐藤花子"));

        Print(w);
        QVERIFY(fx->boxes.Errors().empty());
        std::vector<history::HistoryRecord> all = All();
        QCOMPARE(all.size(), std::size_t{5});
        QCOMPARE(all[4].reprintOf, std::optional<std::int64_t>(2));
        QCOMPARE(all[4].order, std::string("A-1001")); // taken from the first printing
        QVERIFY(all[4].values == all[1].values);       // every value went back onto the paper
        QVERIFY(w.Panel_HelpMess->text().contains(QStringLiteral("No.5")));

        Print(w); // still the same slip
        QCOMPARE(All().back().reprintOf, std::optional<std::int64_t>(2));
        TypeText(w.Edit_G2, QFromUtf8("追加"));
        Print(w); // changed: a new slip
        QCOMPARE(All().size(), std::size_t{7});
        QCOMPARE(All().back().reprintOf, std::nullopt);
    }

    void scannedNumbersGoOnTheRowAndMoveToTheNextWithout() {
        THistoryWindow& h = OpenWindow(StartSeeded());
        QCOMPARE(h.Row(h.CurrentRow()).id, std::int64_t{4}); // newest first, first row selected
        h.Grid->setFocus();
        Scan("123456789013");
        QCOMPARE(Store()->Get(4)->tracking, std::string("123456789013"));
        QCOMPARE(h.Row(h.CurrentRow()).id, std::int64_t{3});
        Scan("2109-8765-4323");
        QCOMPARE(Store()->Get(3)->tracking, std::string("210987654323"));
        QCOMPARE(h.Row(h.CurrentRow()).id, std::int64_t{1}); // 2 has a number already
        QCOMPARE(Store()->Get(2)->tracking, std::string("111122223333"));
        QVERIFY(fx->boxes.Shown().empty());
    }

    // Another program writing holds the store for a while: the window keeps running its timers (here
    // the one that lets the other writer finish) while the number waits to go in.
    void aStoreHeldByAnotherWriterLeavesTheWindowRunning() {
        THistoryWindow& h = OpenWindow(StartSeeded());
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open(fx->File("tavo_Zaridi2.db").c_str(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        QTimer::singleShot(300, [other] {
            sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
            sqlite3_close(other);
        });
        h.StoreTracking(QStringLiteral("123456789013"));
        QCOMPARE(Store()->Get(4)->tracking, std::string("123456789013"));
        QCOMPARE(h.Row(0).tracking, std::string("123456789013"));
    }

    // Typed into the scan field of the newest row: what is stored, and how the window says so.
    void enteredNumbersAreCheckedBeforeAnythingIsStored_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("confirm");  // the answer to the question about a number of no known shape
        QTest::addColumn<QString>("shown"); // on the row afterwards: "" when nothing was stored
        QTest::newRow("wrong check digit") << "123456789012" << true << "";
        QTest::newRow("full width, hyphens")
            << QFromUtf8("１２３４－５６７８－９０１３") << true << "123456789013";
        QTest::newRow("S10 in lower case") << "ee473124829jp" << true << "EE473124829JP";
        QTest::newRow("another carrier's") << "AB-123" << true << QFromUtf8("※AB-123");
        QTest::newRow("a digit short, not confirmed") << "1234567890" << false << "";
    }
    void enteredNumbersAreCheckedBeforeAnythingIsStored() {
        QFETCH(QString, typed);
        QFETCH(bool, confirm);
        QFETCH(QString, shown);
        THistoryWindow& h = OpenWindow(StartSeeded());
        fx->boxes.AnswerNext(confirm);
        TypeText(h.Edit_Scan, typed);
        QTest::keyClick(h.Edit_Scan, Qt::Key_Return);
        QCOMPARE(Shown(h, 4), shown);
        QCOMPARE(QString::fromStdString(Store()->Get(4)->tracking), QString(shown).remove(QFromUtf8("※")));
        QCOMPARE(fx->boxes.Shown().size(), std::size_t{shown.startsWith(QFromUtf8("※")) || !confirm});
        QCOMPARE(h.Label_Status->text().startsWith(QFromUtf8("送り状番号が正しくありません（確認数字）")),
                 shown.isEmpty() && confirm);
        // Moved on only when stored; else the text waits, selected, for the next scan to replace it.
        QCOMPARE(h.Edit_Scan->selectedText(), shown.isEmpty() ? typed : QString());
        QCOMPARE(Shown(h, 2), QFromUtf8("※111122223333")); // stored before the check came
    }

    // 書き損じ keeps the number; a reprint of the slip takes the stack's next one.
    void voidSlipKeepsItsNumberAndItsReprintTakesTheNext() {
        fx->Write("tavo_a500.ini",
                  Cp932FromUtf8("[連続(４インチ)]\r\nPrnNoIndex=0\r\nNextSlipNo=512547514334\r\n"));
        TForm_Main& w = StartSeeded();
        THistoryWindow& h = OpenWindow(w);
        SelectId(h, 2);
        fx->boxes.AnswerNext(false);
        h.Button_Void->click();
        QVERIFY(!Store()->Get(2)->isVoid);
        fx->boxes.AnswerNext(true);
        h.Button_Void->click();
        QVERIFY(Store()->Get(2)->isVoid);
        QCOMPARE(Shown(h, 2), QFromUtf8("※111122223333（書き損じ）"));
        QTest::keyClick(h.Grid, Qt::Key_Return);
        Print(w);
        const history::HistoryRecord reprint = All().back();
        QCOMPARE(reprint.reprintOf, std::optional<std::int64_t>(2));
        QCOMPARE(reprint.tracking, std::string("512547514334"));
        QVERIFY(!reprint.isVoid);
        QVERIFY(fx->Read("tavo_a500.ini").find("NextSlipNo=512547514345") != std::string::npos);
    }

    // 番号を合わせる for the main window's slip type, whose counter is at 512547514334.
    void resynchronisingRecordsTheSkippedSlipsVoid_data() {
        QTest::addColumn<QString>("inPrinter");
        QTest::addColumn<QStringList>("voided"); // the void records added, oldest first
        QTest::addColumn<int>("errors");
        QTest::newRow("three slips on")
            << "5125-4751-4360" << QStringList{"512547514334", "512547514345", "512547514356"} << 0;
        QTest::newRow("in step") << "512547514334" << QStringList{} << 0;
        QTest::newRow("a slip before the counter") << "512547514323" << QStringList{} << 1;
    }
    void resynchronisingRecordsTheSkippedSlipsVoid() {
        QFETCH(QString, inPrinter);
        QFETCH(QStringList, voided);
        QFETCH(int, errors);
        fx->Write("tavo_a500.ini",
                  Cp932FromUtf8("[連続(４インチ)]\r\nPrnNoIndex=0\r\nNextSlipNo=512547514334\r\n"));
        TForm_Main& w = StartSeeded();
        SelectSlipType(w, 1);
        THistoryWindow& h = OpenWindow(w);
        fx->boxes.TypeNext(inPrinter);
        fx->boxes.AnswerNext(true);
        h.Button_Resync->click();
        QVERIFY(QTest::qWaitFor([&] { return !w.HistoryDesk().Recording(); }, 20000));
        QVERIFY(
            fx->boxes.Asked().at(0).contains(QFromUtf8("「連続(４インチ)」のプリンタにある送り状の番号")));
        QCOMPARE(static_cast<int>(fx->boxes.Errors().size()), errors);
        QStringList added;
        for (const history::HistoryRecord& r : All())
            if (r.id > 4 && r.isVoid && r.values.ComboBox_SEL == Cp932FromUtf8("連続(４インチ)"))
                added << QString::fromStdString(r.tracking) + QFromUtf8("（書き損じ）");
        QCOMPARE(added, voided.replaceInStrings(QRegularExpression("$"), QFromUtf8("（書き損じ）")));
        QCOMPARE(All().size(), 4 + voided.size());
        if (!voided.isEmpty()) QCOMPARE(Shown(h, 5), added.front()); // listed as soon as recorded
        const std::string counter = voided.isEmpty() ? "512547514334" : "512547514360";
        QVERIFY(fx->Read("tavo_a500.ini").find("NextSlipNo=" + counter) != std::string::npos);
    }

    void exportsTheChosenFilesIntoTheFolderAndListsWhatWasLeftOut_data() {
        QTest::addColumn<bool>("shiftJis");
        QTest::newRow("UTF-8 with BOM") << false;
        QTest::newRow("Shift_JIS") << true;
    }
    void exportsTheChosenFilesIntoTheFolderAndListsWhatWasLeftOut() {
        QFETCH(bool, shiftJis);
        TForm_Main& w = StartSeeded(); // 1 has no number, 2 a wrong one
        {
            auto store = Store(); // a Rakuten order's two parcels and an Amazon order, shipped 2024-05-02
            history::HistoryRecord r = SeedRecord(kSeeds[1]);
            r.order = "R-1";
            r.platform = "rakuten";
            r.refs = {{Cp932FromUtf8("送付先ID"), "1001"}};
            for (const char* number : {"512547514334", "5125-4751-4345"}) {
                r.tracking = number;
                store->Insert(r);
            }
            r.order = "A-1";
            r.platform = "amazon";
            r.tracking = "444413758703";
            store->Insert(r);
        }
        THistoryWindow& h = OpenWindow(w);
        OnModal<TShippedExportDialog>([&](TShippedExportDialog* d) {
            d->Date_From->setDate(QDate(2024, 5, 2));
            d->Date_To->setDate(QDate(2024, 5, 1));
            d->CheckBox_Rakuten->setChecked(true);
            d->CheckBox_Amazon->setChecked(true);
            (shiftJis ? d->Radio_Sjis : d->Radio_Utf8)->setChecked(true);
            d->accept();
        });
        h.Button_Export->click();
        // Into the documents folder (none was chosen before), under each file's own name.
        auto read = [&](const char* name) {
            QFile file(QDir(fx->home.Documents()).filePath(QString::fromLatin1(name)));
            return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("missing");
        };
        const std::string generic = "注文番号,出荷日,配送業者,お問い合わせ伝票番号,お届け先名,発送日\r\n"
                                    "R-1,2024/05/02,佐川急便,512547514334,佐藤花子,2024-05-02\r\n"
                                    "R-1,2024/05/02,佐川急便,512547514345,佐藤花子,2024-05-02\r\n"
                                    "A-1,2024/05/02,佐川急便,444413758703,佐藤花子,2024-05-02\r\n";
        QCOMPARE(read("shipped_20240501-20240502.csv"),
                 shiftJis ? Cp932FromUtf8(generic.c_str()) : "\xEF\xBB\xBF" + generic);
        QCOMPARE(read("rakuten_20240501-20240502.csv"),
                 Cp932FromUtf8("注文番号,送付先ID,発送明細ID,お荷物伝票番号,配送会社,発送日\r\n"
                               "R-1,1001,,512547514334,1002,2024-05-02\r\n"
                               "R-1,1001,,512547514345,1002,2024-05-02\r\n"));
        QVERIFY(read("amazon_20240501-20240502.txt")
                    .ends_with("\r\nA-1\t\t\t2024-05-02\tSagawaExpress\t\t444413758703\t\t\r\n"));
        // The slips left out, each once with its reason.
        QCOMPARE(fx->boxes.Shown().size(), std::size_t{1});
        const QString report = fx->boxes.Shown()[0].text;
        QVERIFY2(report.contains(
                     QFromUtf8("No.1 2024-05-01 山田太郎 注文 A-100% 番号 なし: 送り状番号がありません")),
                 qPrintable(report));
        QVERIFY(report.contains(QFromUtf8(
            "No.2 2024-05-02 佐藤花子 注文 A-1001 番号 111122223333: 送り状番号が正しくありません")));
        QCOMPARE(report.count(QFromUtf8("No.")), 2);
        QVERIFY(h.Label_Status->text().contains(QFromUtf8("rakuten_20240501-20240502.csv（2 件）")));
        QVERIFY(fx->boxes.Errors().empty());
    }

    // The first time in the documents folder, then where the files were written last, kept in the
    // settings apart from the order files' folder.
    void shippedFilesGoWhereTheyWentLast() {
        THistoryWindow& h = OpenWindow(StartSeeded());
        QTemporaryDir elsewhere;
        QStringList offered;
        auto exportOnce = [&](const QString& folder) {
            OnModal<TShippedExportDialog>([&, folder](TShippedExportDialog* d) {
                offered << QDir(d->Folder()).absolutePath();
                if (!folder.isEmpty()) {
                    OnModal<QFileDialog>([folder](QFileDialog* f) {
                        // Nothing selected in a folder dialog means the folder shown; selectFile
                        // would show the parent and pick by a listing that loads asynchronously.
                        f->setDirectory(folder);
                        static_cast<QDialog*>(f)->accept(); // QFileDialog's accept is not public
                    });
                    d->Button_Folder->click();
                }
                d->accept();
            });
            h.Button_Export->click();
        };
        exportOnce(elsewhere.path());
        const QString written =
            QDir(elsewhere.path()).filePath(QDir(elsewhere.path()).entryList(QDir::Files).value(0));
        QVERIFY(QFile::remove(written));
        exportOnce(QString()); // in the folder offered
        QCOMPARE(offered, QStringList({QDir(fx->home.Documents()).absolutePath(),
                                       QDir(elsewhere.path()).absolutePath()}));
        QVERIFY(QFile::exists(written));
        QVERIFY(fx->Read("tavo_Zaridi2.ini").find("[ShippedList]") != std::string::npos);
        QVERIFY(fx->Read("tavo_Zaridi2.ini").find("[OrderQueue]") == std::string::npos);
    }

    void storeItCannotUseGivesAMessageAndTheWindowStaysClosed_data() {
        QTest::addColumn<bool>("newer");
        QTest::newRow("another program's file") << false;
        QTest::newRow("a newer schema") << true;
    }
    void storeItCannotUseGivesAMessageAndTheWindowStaysClosed() {
        QFETCH(bool, newer);
        if (newer) {
            Store();
            sqlite3* db = nullptr;
            sqlite3_open(fx->File("tavo_Zaridi2.db").c_str(), &db);
            sqlite3_exec(db, "PRAGMA user_version = 99", nullptr, nullptr, nullptr);
            sqlite3_close(db);
        } else {
            fx->Write("tavo_Zaridi2.db", "name,phone\r\n");
        }
        const std::string before = fx->Read("tavo_Zaridi2.db");
        TForm_Main& w = fx->Start();
        fx->boxes.Clear();
        w.Edit_Zip->setFocus();
        QTest::keyClick(w.Edit_Zip, Qt::Key_F6);
        const std::vector<QString> errors = fx->boxes.Errors();
        QCOMPARE(errors.size(), std::size_t{1});
        QVERIFY(errors[0].startsWith(QFromUtf8("履歴を使えません。印刷はこのまま続けられます。")));
        QVERIFY(errors[0].contains(QStringLiteral("tavo_Zaridi2.db")));
        THistoryWindow* h = w.findChild<THistoryWindow*>();
        QVERIFY(h == nullptr || !h->isVisible());
        QCOMPARE(fx->Read("tavo_Zaridi2.db"), before);
    }
};

QTEST_MAIN(HistoryWindowTest)
#include "history_window.moc"
