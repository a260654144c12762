// The slip goes to the printer registered for its slip type by name, wherever that queue stands in the
// scheduler's list now, and nowhere else when it is gone or refuses jobs: the real main window, F11 and
// the private scheduler's job lists.
#include "SlipWindow.h"

#include <QTest>

namespace {

class RegisteredPrinterTest : public SlipWindowTest {
protected:
    TForm_Main& StartRegistered(const char* name, int index) {
        fx->Write("tavo_a500.ini",
                  Sj("[手差し]\r\nPrnName=") + name + "\r\nPrnNoIndex=" + std::to_string(index) + "\r\n");
        return fx->Start();
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
        EXPECT_EQ(fx->boxes.Errors(), std::vector<QString>{U(c.message)}) << c.name;
        const int before = sandbox::LastJobId("");
        PressF11(w);
        EXPECT_EQ(fx->boxes.Errors(), std::vector<QString>{U(c.message)}) << c.name;
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
              std::vector<QString>{U("登録されたプリンタ「later」は印刷を受け付けていません")});
    sandbox::Run("cupsaccept later");
    const int before = sandbox::LastJobId("");
    PressF11(w);
    ASSERT_TRUE(fx->boxes.Errors().empty()) << fx->boxes.Errors()[0].toStdString();
    EXPECT_GT(sandbox::LastJobId("later"), before);
    EXPECT_EQ(sandbox::LastJobId(""), sandbox::LastJobId("later"));
}

} // namespace
