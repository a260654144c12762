// The slip goes to the printer registered for its slip type by name, wherever that queue stands in the
// scheduler's list now, and nowhere else when it is gone or refuses jobs or none is registered; on the
// slip's own paper where the queue takes free sizes, from the queue's own feed unless one was chosen:
// the real main window, F11 and the private scheduler's job lists and logs.
#include "SlipWindow.h"

#include <gmock/gmock.h>

#include <QComboBox>
#include <QTest>

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

class RegisteredPrinterTest : public SlipWindowTest {
protected:
    // `slipType`: 0 hand-fed, 1 continuous, as the settings file stores it.
    TForm_Main& StartRegistered(const char* name, int index, int slipType = 0) {
        const char* section = slipType == 0 ? "[手差し]" : "[連続(４インチ)]";
        fx->Write("tavo_a500.ini", Cp932FromUtf8(section) + "\r\nPrnName=" + name +
                                       "\r\nPrnNoIndex=" + std::to_string(index) + "\r\n");
        fx->Write("tavo_Zaridi2.ini", "[tv_SAGAWAprn]\r\nComboBox_SEL=" + std::to_string(slipType) + "\r\n");
        return fx->Start();
    }

    // F11 with Yes; the finished job that reached `queue`, and no other.
    sandbox::Job PrintOn(TForm_Main& w, const std::string& queue) {
        const int before = sandbox::LastJobId("");
        PressF11(w);
        EXPECT_TRUE(fx->boxes.Errors().empty()) << fx->boxes.Errors()[0].toStdString();
        const int id = sandbox::LastJobId(queue);
        EXPECT_GT(id, before) << "no job reached " << queue;
        EXPECT_EQ(sandbox::LastJobId(""), id) << "a job went to another queue";
        return sandbox::WaitForJob(queue, id);
    }

    // F11 in the postcode field, with Yes ready for the question.
    void PressF11(TForm_Main& w) {
        fx->boxes.Clear();
        fx->boxes.AnswerNext(true);
        w.Edit_Zip->setText("123-4567");
        w.Edit_Zip->setFocus();
        QTest::keyClick(w.Edit_Zip, Qt::Key_F11);
    }
};

TEST_F(RegisteredPrinterTest, QueueThatMovedUpTheListStillGetsTheSlip) {
    // Registered while "rejecting" refused jobs: "slip" was then the second visible queue.
    sandbox::Run("cupsaccept rejecting");
    sandbox::Restore refuse{"cupsreject rejecting"};
    TForm_Main& w = StartRegistered("slip", 1);
    ASSERT_TRUE(fx->boxes.Errors().empty()) << fx->boxes.Errors()[0].toStdString();
    const int before = sandbox::LastJobId("");
    PressF11(w);
    ASSERT_TRUE(fx->boxes.Errors().empty()) << fx->boxes.Errors()[0].toStdString();
    const int id = sandbox::LastJobId("slip");
    EXPECT_GT(id, before) << "no job reached slip";
    EXPECT_EQ(sandbox::LastJobId(""), id) << "a job went to another queue";
    EXPECT_LE(sandbox::LastJobId("rejecting"), before);
}

TEST_F(RegisteredPrinterTest, QueueThatIsGoneOrRefusesGetsNothingAndNeitherDoesAnyOther) {
    const struct {
        const char* name;
        const char* message;
    } cases[] = {{"gone", "登録されたプリンタ「gone」が見つかりません"},
                 {"rejecting", "登録されたプリンタ「rejecting」は印刷を受け付けていません"}};
    for (const auto& c : cases) {
        fx.reset();
        SetUp();
        TForm_Main& w = StartRegistered(c.name, 0);
        EXPECT_EQ(fx->boxes.Errors(), std::vector<QString>{QFromUtf8(c.message)}) << c.name;
        const int before = sandbox::LastJobId("");
        PressF11(w);
        EXPECT_EQ(fx->boxes.Errors(), std::vector<QString>{QFromUtf8(c.message)}) << c.name;
        EXPECT_EQ(sandbox::LastJobId(""), before) << "a job was sent for " << c.name;
    }
}

TEST_F(RegisteredPrinterTest, QueueThatComesBackIsFoundAtF11) {
    sandbox::Run("lpadmin -p later -E -v file://" + sandbox::Dir() + "/out/later.prn -P " + sandbox::Dir() +
                 "/ppd/zaridi-slip.ppd");
    sandbox::Restore drop{"lpadmin -x later"};
    sandbox::Run("cupsreject later");
    TForm_Main& w = StartRegistered("later", 0);
    EXPECT_EQ(fx->boxes.Errors(),
              std::vector<QString>{QFromUtf8("登録されたプリンタ「later」は印刷を受け付けていません")});
    sandbox::Run("cupsaccept later");
    const int before = sandbox::LastJobId("");
    PressF11(w);
    ASSERT_TRUE(fx->boxes.Errors().empty()) << fx->boxes.Errors()[0].toStdString();
    EXPECT_GT(sandbox::LastJobId("later"), before);
    EXPECT_EQ(sandbox::LastJobId(""), sandbox::LastJobId("later"));
}

TEST_F(RegisteredPrinterTest, SlipTypeWithNoPrinterRegisteredPrintsNowhere) {
    fx->Write("tavo_a500.ini", Cp932FromUtf8("[連続(４インチ)]\r\nPrnName=slip\r\nPrnNoIndex=1\r\n"));
    TForm_Main& w = fx->Start(); // 手差し, which has none
    ASSERT_TRUE(fx->boxes.Errors().empty()) << "told on the display, not in a box at start";
    EXPECT_EQ(w.ComboBox1->placeholderText() + w.ComboBox2->placeholderText(),
              QFromUtf8("この用紙の印刷先が登録されていません"));
    const int before = sandbox::LastJobId("");
    PressF11(w);
    EXPECT_EQ(fx->boxes.Shown().size(), 1u) << "asked before refusing";
    EXPECT_EQ(fx->boxes.Errors(), std::vector<QString>{QFromUtf8("この用紙の印刷先が登録されていません")});
    EXPECT_LE(sandbox::LastJobId(""), before) << "the first printer stood in"; // a new job has a higher id
}

TEST_F(RegisteredPrinterTest, ContinuousSlipOnAQueueThatTakesFreeSizesIsFedItsOwnLength) {
    TForm_Main& w = StartRegistered("dotmatrix", 0, 1);
    ASSERT_TRUE(fx->boxes.Errors().empty()) << fx->boxes.Errors()[0].toStdString();
    EXPECT_EQ(w.ComboBox2->currentText(), "10 x 4 in");
    const sandbox::Job job = PrintOn(w, "dotmatrix");
    EXPECT_EQ(job.state, IPP_JSTATE_COMPLETED);
    EXPECT_THAT(sandbox::Run("pdfinfo '" + sandbox::SpoolFile(job.id) + "'"), HasSubstr("720 x 288 pts"));
    EXPECT_THAT(sandbox::FilterOptions(job.id), HasSubstr("PageSize=Custom.720x288"));
    EXPECT_THAT(sandbox::JobLog(job.id), HasSubstr("PageSize = [ 720 288 ]")); // 4 inches, not 11
}

TEST_F(RegisteredPrinterTest, HandFedSlipComesFromTheQueuesOwnFeed) {
    sandbox::Run("lpadmin -p slip -o InputSlot=Manual");
    sandbox::Restore undo{"lpadmin -p slip -o InputSlot=Tractor"};
    TForm_Main& w = StartRegistered("slip", 1);
    ASSERT_TRUE(fx->boxes.Errors().empty()) << fx->boxes.Errors()[0].toStdString();
    EXPECT_EQ(w.ComboBox3->currentText(), QFromUtf8("プリンタの既定"));
    const sandbox::Job job = PrintOn(w, "slip");
    EXPECT_THAT(sandbox::FilterOptions(job.id), Not(HasSubstr("media-source")));
    EXPECT_THAT(sandbox::JobLog(job.id), HasSubstr("MediaPosition = 1")); // the manual feed
}

} // namespace
