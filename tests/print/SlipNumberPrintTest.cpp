// The numbers of a pre-printed stack through the private scheduler: each slip the scheduler accepts takes
// the counter's number into the history and moves the counter on; a No, a refusing queue or a cancelled
// question takes none; with no counter set, F11 asks for it.
#include "SlipWindow.h"

#include "app/qt/history/HistoryRecording.h"
#include "history/HistoryStore.h"
#include "platform/ProfileFile.h"
#include "tracking/StackCounter.h"

#include <gmock/gmock.h>

#include <QLabel>
#include <QTest>

#include <optional>

using ::testing::HasSubstr;

namespace {

class SlipNumberPrintTest : public SlipWindowTest {
protected:
    // The hand-fed slip type on "slip", with `counter` as its NextSlipNo line ("" for none).
    TForm_Main& Start(const std::string& counter) {
        fx->Write("tavo_a500.ini", Cp932FromUtf8("[手差し]\r\nPrnNoIndex=1\r\n") + counter);
        TForm_Main& w = fx->Start();
        EXPECT_TRUE(fx->boxes.Errors().empty());
        fx->boxes.Clear();
        w.Edit_Custo1->setText(QFromUtf8("山田太郎"));
        return w;
    }

    // F11 answered `yes`; whether a job reached the scheduler.
    bool F11(TForm_Main& w, bool yes = true) {
        const int before = sandbox::LastJobId("");
        fx->boxes.AnswerNext(yes);
        w.Edit_Zip->setFocus();
        QTest::keyClick(w.Edit_Zip, Qt::Key_F11);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !w.HistoryDesk().Recording(); }, 20000));
        return sandbox::LastJobId("") > before;
    }

    std::vector<std::string> RecordedNumbers() { // oldest first
        if (!fx->Exists("tavo_Zaridi2.db")) return {};
        history::SearchQuery everything;
        everything.oldestFirst = true;
        std::vector<std::string> numbers;
        for (const history::HistoryRecord& r :
             history::OpenStore(history::LocationFromArgument(fx->File("tavo_Zaridi2.db")))
                 ->Search(everything))
            numbers.push_back(r.tracking);
        return numbers;
    }

    std::string Counter() {
        return tracking::ReadNextSlipNo(ProfileFile(fx->File("tavo_a500.ini")), Cp932FromUtf8("手差し"))
            .number;
    }
};

TEST_F(SlipNumberPrintTest, AcceptedSlipsTakeTheStackInTurnAndNothingElseTakesANumber) {
    TForm_Main& w = Start("NextSlipNo=512547514334\r\n");
    ASSERT_TRUE(F11(w));
    EXPECT_THAT(ToCp932(fx->boxes.Shown().back().text),
                HasSubstr(Cp932FromUtf8("送り状番号 512547514334\n印刷しますか?")));
    ASSERT_TRUE(F11(w));
    EXPECT_THAT(ToCp932(w.Panel_HelpMess->text()), HasSubstr("512547514345"));
    EXPECT_FALSE(F11(w, false)); // No at the question
    sandbox::Run("cupsreject slip");
    {
        sandbox::Restore accept{"cupsaccept slip"};
        EXPECT_FALSE(F11(w)); // the scheduler refuses it
    }
    EXPECT_EQ(fx->boxes.Errors().size(), 1u);
    EXPECT_EQ(Counter(), "512547514356");
    w.PrintSlip(); // the order queue's run: no question, the same stack
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.HistoryDesk().Recording(); }, 20000));
    EXPECT_EQ(RecordedNumbers(), (std::vector<std::string>{"512547514334", "512547514345", "512547514356"}));
    EXPECT_THAT(fx->Read("tavo_a500.ini"), HasSubstr("NextSlipNo=512547514360\r\n"));
    EXPECT_TRUE(fx->boxes.Asked().empty()); // a counter set is never asked for
}

TEST_F(SlipNumberPrintTest, WithoutACounterF11AsksForTheSlipInThePrinter) {
    const struct {
        std::vector<std::optional<QString>> typed; // the answers to the number question, in turn
        std::vector<std::string> recorded;         // the printed slip's number, when one was printed
        const char* counter;                       // NextSlipNo afterwards
        std::size_t askedAgain;                    // by the next F11
    } cases[] = {
        {{QStringLiteral("512547514335"), QFromUtf8("５１２５－４７５１－４３３４")},
         {"512547514334"},
         "512547514345",
         0},
        {{QStringLiteral("13112383852"), std::nullopt}, {}, "", 1}, // cancelled
        {{QString()}, {""}, "", 0},                                 // 番号なしで印刷
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.counter + std::to_string(c.askedAgain));
        TearDown(); // a fresh folder and window for each
        SetUp();
        TForm_Main& w = Start("");
        for (const auto& t : c.typed)
            fx->boxes.TypeNext(t);
        EXPECT_EQ(F11(w), !c.recorded.empty());
        EXPECT_EQ(fx->boxes.Asked().size(), c.typed.size()); // once more after each refusal
        EXPECT_THAT(ToCp932(fx->boxes.Asked().front()),
                    HasSubstr(Cp932FromUtf8("「手差し」の次の送り状番号")));
        EXPECT_EQ(RecordedNumbers(), c.recorded);
        EXPECT_EQ(Counter(), c.counter);
        fx->boxes.Clear();
        fx->boxes.TypeNext(std::nullopt);
        F11(w, false);
        EXPECT_EQ(fx->boxes.Asked().size(), c.askedAgain);
    }
}

} // namespace
