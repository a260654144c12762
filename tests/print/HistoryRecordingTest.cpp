// Recording after a real print: the slip the scheduler accepted is in the history once, as printed; a
// slip that failed is not; a store that cannot be written keeps the record back until the next start.
#include "SlipWindow.h"

#include "app/qt/history/HistoryRecording.h"
#include "history/HistoryStore.h"
#include "history/PendingFile.h"
#include "orders/Orders.h"

#include <gmock/gmock.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QTest>
#include <sqlite3.h>

using ::testing::HasSubstr;

namespace {

class HistoryRecordingTest : public SlipWindowTest {
protected:
    // The hand-fed slip type on "slip" (180 dpi) with margins, and a slip filled in.
    TForm_Main& Start() {
        TForm_Main& w = StartWith(1, "5", "-3");
        w.Edit_Zip->setText("123-4567");
        w.Edit_Add1->setText(QFromUtf8("東京都千代田区千代田１－１"));
        w.Edit_Custo1->setText(QFromUtf8("山田太郎"));
        w.Edit_tel->setText("090-1234-5678");
        w.Edit_G1->setText(QFromUtf8("衣料品"));
        w.KyNumEdit_KOSUU->SetText("2");
        w.KyNumEdit_PriceSub->SetText("10500");
        w.CheckBox_p1->click();
        w.Edit_My->setText(QFromUtf8("タヴォ商店"));
        w.Edit_MyTEL->setText("06-1234-5678");
        w.CheckBox_Date_1->setChecked(false);
        w.DateTimePicker_1->setDate(QDate(2026, 12, 7));
        return w;
    }

    // F11 answered with Yes; the id of the job it made, 0 when none.
    int Print(TForm_Main& w) {
        const int before = sandbox::LastJobId("");
        fx->boxes.AnswerNext(true);
        w.Edit_Zip->setFocus();
        QTest::keyClick(w.Edit_Zip, Qt::Key_F11);
        // The record is made on the recording thread; its answer comes back to the window.
        EXPECT_TRUE(QTest::qWaitFor([&] { return !w.HistoryDesk().Recording(); }, 20000));
        const int id = sandbox::LastJobId("");
        return id > before ? id : 0;
    }

    std::vector<history::HistoryRecord> Recorded() {
        history::SearchQuery everything;
        everything.oldestFirst = true;
        return history::OpenStore(history::LocationFromArgument(fx->File("tavo_Zaridi2.db")))
            ->Search(everything);
    }
};

TEST_F(HistoryRecordingTest, AcceptedSlipIsRecordedOnceAsPrinted) {
    TForm_Main& w = Start();
    const int job = Print(w);
    ASSERT_GT(job, 0);
    EXPECT_TRUE(fx->boxes.Errors().empty());
    EXPECT_EQ(sandbox::WaitForJob("slip", job).state, IPP_JSTATE_COMPLETED);

    history::HistoryRecord expected;
    expected.printer = "slip";
    expected.resolutionX = expected.resolutionY = 180;
    expected.marginTop = 5;
    expected.marginLeft = -3;
    slip::Record& v = expected.values;
    v.ComboBox_SEL = Cp932FromUtf8("手差し");
    v.Edit_Zip = "123-4567";
    v.Edit_Add1 = Cp932FromUtf8("東京都千代田区千代田１－１");
    v.Edit_Custo1 = Cp932FromUtf8("山田太郎");
    v.Edit_tel = "090-1234-5678";
    v.Edit_G1 = Cp932FromUtf8("衣料品");
    v.KyNumEdit_KOSUU = "2";
    v.KyNumEdit_PriceSub = "10500";
    v.KyNumEdit_TaxSub = "954"; // the tax contained in 10500 at 10 %, as the slip shows it
    v.CheckBox_p1 = true;
    v.Edit_My = Cp932FromUtf8("タヴォ商店");
    v.Edit_MyTEL = "06-1234-5678";
    v.CheckBox_Date_1 = false;
    v.DateTimePicker_1 = "2026/12/07";

    std::vector<history::HistoryRecord> all = Recorded();
    ASSERT_EQ(all.size(), 1u);
    history::HistoryRecord got = all[0];
    EXPECT_TRUE(history::ParseTimestamp(got.time)) << got.time;
    expected.id = got.id;
    expected.uuid = got.uuid;
    expected.time = got.time;
    EXPECT_EQ(got, expected);
    EXPECT_THAT(ToCp932(w.Panel_HelpMess->text()), HasSubstr("No." + std::to_string(got.id)));
    EXPECT_FALSE(fx->Exists(history::kPendingFileName));
}

TEST_F(HistoryRecordingTest, FailedSlipIsNotRecorded) {
    TForm_Main& w = Start();
    w.Label_Prn_Top->setText("1.5"); // the layout refuses it: the document is abandoned
    EXPECT_EQ(Print(w), 0);
    sandbox::Run("cupsreject slip");
    sandbox::Restore accept{"cupsaccept slip"};
    w.Label_Prn_Top->setText("5");
    EXPECT_EQ(Print(w), 0); // the scheduler refuses it at EndDoc
    EXPECT_EQ(fx->boxes.Errors().size(), 2u);
    EXPECT_FALSE(fx->Exists("tavo_Zaridi2.db"));
    EXPECT_FALSE(fx->Exists(history::kPendingFileName));
}

TEST_F(HistoryRecordingTest, OrderReferenceGoesWithTheSlipAndAReprintKeepsItsOwn) {
    TForm_Main& w = Start();
    slip::Record order;
    order.Edit_Custo1 = Cp932FromUtf8("佐藤花子");
    const history::OrderLink link{"A-1001", "rakuten", {{Cp932FromUtf8("送付先ID"), "1001"}}, {}};
    w.LoadOrder(order, link);
    w.Edit_Custo1->setFocus();
    w.Edit_Custo1->end(false);
    QTest::keyClick(w.Edit_Custo1, Qt::Key_Backspace); // a correction keeps the slip the order's
    ASSERT_GT(Print(w), 0);
    w.LoadOrder(order, {"B-2002"});
    w.HistoryDesk().Load(Recorded().at(0)); // a reprint of A-1001, while B-2002 was loaded
    ASSERT_GT(Print(w), 0);
    std::vector<history::HistoryRecord> all = Recorded();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ((history::OrderLink{all[0].order, all[0].platform, all[0].refs, all[0].delivery}), link);
    EXPECT_EQ(all[0].values.Edit_Custo1, Cp932FromUtf8("佐藤花"));
    EXPECT_EQ((history::OrderLink{all[1].order, all[1].platform, all[1].refs, all[1].delivery}), link);
    EXPECT_EQ(all[1].reprintOf, all[0].id);
    EXPECT_TRUE(w.CurrentOrderRef().empty());
}

TEST_F(HistoryRecordingTest, AStoreThatKeepsTheRecordWaitingNeverHoldsTheWindow) {
    TForm_Main& w = Start();
    history::OpenStore(history::LocationFromArgument(fx->File("tavo_Zaridi2.db"))); // its schema
    sqlite3* other = nullptr; // another program holds the file for a while
    ASSERT_EQ(sqlite3_open(fx->File("tavo_Zaridi2.db").c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    fx->boxes.AnswerNext(true);
    w.Edit_Zip->setFocus();
    QTest::keyClick(w.Edit_Zip, Qt::Key_F11);
    // F11 is over and the window answers while the record waits for the file.
    EXPECT_TRUE(w.HistoryDesk().Recording());
    EXPECT_THAT(ToCp932(w.Panel_HelpMess->text()), HasSubstr(Cp932FromUtf8("記録しています")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return fx->Exists(history::kPendingFileName); }, 4000));
    sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.HistoryDesk().Recording(); }, 20000));
    EXPECT_EQ(Recorded().size(), 1u);
    EXPECT_THAT(ToCp932(w.Panel_HelpMess->text()), HasSubstr("No."));
    EXPECT_FALSE(fx->Exists(history::kPendingFileName));
}

TEST_F(HistoryRecordingTest, StoreThatCannotBeWrittenKeepsTheRecordUntilTheNextStart) {
    const std::string foreign = "id,name\r\n1,not ours\r\n";
    fx->Write("tavo_Zaridi2.db", foreign);
    TForm_Main& w = Start();
    const int job = Print(w);
    ASSERT_GT(job, 0);
    EXPECT_TRUE(fx->boxes.Errors().empty()); // the slip printed; the record only waits
    EXPECT_THAT(ToCp932(w.Panel_HelpMess->text()), HasSubstr(Cp932FromUtf8("保留")));
    EXPECT_EQ(fx->Read("tavo_Zaridi2.db"), foreign);
    ASSERT_TRUE(fx->Exists(history::kPendingFileName));

    fx->Stop();
    std::remove(fx->File("tavo_Zaridi2.db").c_str()); // the foreign file moved aside
    fx->Start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !fx->Exists(history::kPendingFileName); }, 5000));
    std::vector<history::HistoryRecord> all = Recorded();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].values.Edit_Custo1, Cp932FromUtf8("山田太郎"));
    EXPECT_EQ(all[0].printer, "slip");
}

} // namespace
