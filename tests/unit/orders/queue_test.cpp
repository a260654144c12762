// The order queue's states without its window: starting states, the next open order, holds, the run of
// 「残りをすべて印刷」 and "printed before" against a record asked once per import.
#include "orders/OrderQueue.h"

#include <gtest/gtest.h>

namespace {

using namespace orders;
using S = OrderState;

// A record of earlier prints in memory, counting the questions it is asked.
class Record : public PrintedRecord {
public:
    explicit Record(std::unordered_set<std::string> printed, bool reachable = true)
        : printed_(std::move(printed)), reachable_(reachable) {}
    std::optional<std::unordered_set<std::string>>
    PrintedAmong(const std::vector<std::string>& refs) override {
        asked.push_back(refs);
        if (!reachable_) return std::nullopt;
        std::unordered_set<std::string> found;
        for (const std::string& r : refs)
            if (printed_.contains(r)) found.insert(r);
        return found;
    }
    std::unordered_set<std::string> printed_;
    bool reachable_;
    std::vector<std::vector<std::string>> asked;
};

Order Make(std::string ref, bool problem = false, bool heldForCheck = false, bool needsAmount = false) {
    Order o;
    o.ref = std::move(ref);
    if (problem) o.warnings.push_back({Severity::Problem, "x"});
    o.warnings.push_back({Severity::Note, "n"});
    o.heldForCheck = heldForCheck;
    o.needsAmount = needsAmount;
    return o;
}

std::vector<S> States(const OrderQueue& q) {
    std::vector<S> s;
    for (std::size_t i = 0; i < q.Count(); ++i)
        s.push_back(q.State(i));
    return s;
}

TEST(Queue, StartsHeldWhatWasPrintedBeforeOrNeedsACheckAskingTheRecordOnce) {
    OrderQueue q;
    Record record({"B", "Z"});
    std::vector<Order> list = {Make("A"), Make("B"), Make("A"), Make(""), Make("C", true, true)};
    ASSERT_TRUE(q.Reset(list, &record));
    EXPECT_EQ(States(q), (std::vector<S>{S::Open, S::Held, S::Open, S::Open, S::Held}));
    ASSERT_EQ(record.asked.size(), 1u);
    EXPECT_EQ(record.asked[0], (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(q.At(1).warnings.back(), (OrderWarning{Severity::Problem, std::string(kPrintedBeforeWarning)}));
    EXPECT_TRUE(q.PrintedBefore(1, nullptr));
    EXPECT_FALSE(q.PrintedBefore(0, nullptr));
    // Another desk printed A since: asked again when it is picked.
    record.printed_.insert("A");
    EXPECT_TRUE(q.PrintedBefore(0, &record));
    const QueueCounts c = q.Counts();
    EXPECT_EQ(c.open, 3u);
    EXPECT_EQ(c.held, 2u);
    EXPECT_EQ(c.problems, 2u); // B printed before, C
}

TEST(Queue, WithoutTheRecordOnlyThisSessionsPrintsAreKnown) {
    OrderQueue q;
    Record down({"A"}, false);
    EXPECT_FALSE(q.Reset({Make("A"), Make("B")}, &down));
    EXPECT_EQ(States(q), (std::vector<S>{S::Open, S::Open}));
    EXPECT_FALSE(q.PrintedBefore(0, &down));
    q.Load(0);
    q.CurrentPrinted();
    EXPECT_TRUE(q.PrintedBefore(0, &down));
}

TEST(Queue, APrintedSlipMarksItsOrderAndGivesTheNextOpenOneWrappingRound) {
    OrderQueue q;
    q.Reset({Make("A"), Make("B", false, true), Make("C"), Make("D")}, nullptr);
    q.Load(2);
    EXPECT_EQ(q.CurrentPrinted(), 3u);
    EXPECT_EQ(q.State(2), S::Printed);
    q.Load(3);
    EXPECT_EQ(q.CurrentPrinted(), 0u); // round past the held B
    q.Load(0);
    EXPECT_EQ(q.CurrentPrinted(), std::nullopt);
    EXPECT_EQ(q.NextOpen(std::nullopt), std::nullopt);
    EXPECT_FALSE(q.ToggleHold(0)); // printed stays printed
    EXPECT_TRUE(q.ToggleHold(1));
    EXPECT_EQ(q.NextOpen(std::nullopt), 1u);
    q.Unload();
    EXPECT_EQ(q.CurrentPrinted(), std::nullopt); // a slip typed by hand marks nothing
    EXPECT_EQ(q.State(1), S::Open);
}

TEST(Queue, RunPrintsTheCurrentOrderFirstNeverOneWithoutItsAmountAndListsProblems) {
    OrderQueue q;
    q.Reset({Make("A"), Make("B", true), Make("C", true, true, true), Make("D"), Make("E")}, nullptr);
    q.ToggleHold(2); // released by the user: still needs its amount typed
    q.ToggleHold(4);
    q.Load(3);
    OrderQueue::RunPlan plan = q.PlanRun();
    EXPECT_EQ(plan.orders, (std::vector<std::size_t>{3, 0, 1}));
    EXPECT_EQ(plan.problems, (std::vector<std::size_t>{1}));

    q.StartRun(plan);
    EXPECT_EQ(q.RunNext(), 3u);
    q.CurrentPrinted();
    q.Load(0); // printed by hand meanwhile
    q.CurrentPrinted();
    EXPECT_EQ(q.RunNext(), 1u); // A is passed over
    EXPECT_EQ(q.Current(), 1u);
    q.CurrentPrinted();
    EXPECT_EQ(q.RunNext(), std::nullopt);
    EXPECT_EQ(q.LastRunEnd(), RunEnd::Finished);
    EXPECT_EQ(q.RunDone(), 3u);
    EXPECT_FALSE(q.Running());
    EXPECT_EQ(States(q), (std::vector<S>{S::Printed, S::Printed, S::Open, S::Printed, S::Held}));
}

TEST(Queue, RunStopsBeforeItsNextSlipOrAtAFailedJob) {
    struct Case {
        RunEnd end;
        std::size_t done;
    };
    for (Case c : {Case{RunEnd::Stopped, 1}, Case{RunEnd::Failed, 1}}) {
        OrderQueue q;
        q.Reset({Make("A"), Make("B"), Make("C")}, nullptr);
        q.StartRun(q.PlanRun());
        EXPECT_EQ(q.RunTotal(), 3u);
        ASSERT_EQ(q.RunNext(), 0u);
        q.CurrentPrinted();
        ASSERT_EQ(q.RunNext(), 1u);
        if (c.end == RunEnd::Stopped) {
            q.CurrentPrinted();
            q.StopRun();
            EXPECT_EQ(q.RunNext(), std::nullopt);
            c.done = 2;
        } else {
            q.EndRun(RunEnd::Failed);
        }
        EXPECT_EQ(q.LastRunEnd(), c.end);
        EXPECT_EQ(q.RunDone(), c.done);
        EXPECT_EQ(q.State(2), S::Open);
    }
}

} // namespace

namespace {

TEST(Queue, ACancelledOrderIsNeitherLoadedNextNorRunUntilItIsTakenBack) {
    OrderQueue q;
    q.Reset({Make("A"), Make("B"), Make("C")}, nullptr);
    q.Load(0);
    q.CurrentPrinted();
    EXPECT_FALSE(q.ToggleCancel(0)); // printed stays printed
    EXPECT_TRUE(q.ToggleCancel(1));
    EXPECT_EQ(q.NextOpen(0), 2u);
    EXPECT_EQ(q.PlanRun().orders, std::vector<std::size_t>{2});
    EXPECT_EQ(q.Counts().cancelled, 1u);
    EXPECT_FALSE(q.ToggleHold(1));
    EXPECT_TRUE(q.ToggleCancel(1));
    EXPECT_EQ(q.State(1), S::Open);
}

} // namespace
