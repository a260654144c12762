// The order queue of two desks on one store: an import seen by both and added once, an order loaded on
// one desk out of the other's reach, runs on both desks that share the work, and the slips' records
// that mark the orders printed for everyone.
#include "QueueUnderTest.h"
#include "orders/OrderQueue.h"
#include "queue/StoreQueueStates.h"
#include "unit/history/SmallDisk.h"
#include "unit/history/StoreUnderTest.h"
#include "unit/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

using orders::OrderState;

struct Desk {
    queue::StoreQueueStates* states;
    orders::OrderQueue queue;
    Desk(const history::StoreLocation& where, const std::string& name)
        : states(new queue::StoreQueueStates(where, name)),
          queue(std::unique_ptr<orders::QueueStates>(states)) {}
};

std::vector<orders::Order> Mall() {
    const auto file =
        std::filesystem::path(__FILE__).parent_path() / ".." / "orders" / "data" / "mall_cp932.csv";
    return orders::ImportOrders(file.string(), {}).orders;
}

TEST(SharedQueue, TwoDesksSeeOneQueueAndNeverPrintTheSameOrder) {
    const auto where = FreshQueueLocation();
    Desk a(where, "A"), b(where, "B");
    a.queue.Reset(Mall(), nullptr);
    EXPECT_EQ(a.queue.LastImport().added, 3u);
    b.queue.Reset(Mall(), nullptr);
    EXPECT_EQ(b.queue.LastImport().already, 3u);
    ASSERT_TRUE(a.queue.Refresh() && b.queue.Refresh());
    ASSERT_EQ(b.queue.Count(), 3u);
    EXPECT_EQ(b.queue.At(2), a.queue.At(2));

    ASSERT_TRUE(a.queue.Load(0));
    b.queue.Refresh();
    EXPECT_EQ(b.queue.State(0), OrderState::Claimed);
    EXPECT_EQ(b.queue.Row(0).desk, "A");
    EXPECT_EQ(a.queue.State(0), OrderState::Open); // its own
    EXPECT_FALSE(b.queue.Load(0));
    EXPECT_EQ(b.queue.LoadNextOpen(std::nullopt), 1u);

    // 「残りをすべて印刷」 on both desks: each passes over what the other has.
    a.queue.StartRun(a.queue.PlanRun());
    EXPECT_EQ(a.queue.RunNext(), 0u);
    a.queue.CurrentPrinted();
    EXPECT_EQ(a.queue.RunNext(), 2u);
    a.queue.CurrentPrinted();
    EXPECT_EQ(a.queue.RunNext(), std::nullopt);
    b.queue.CurrentPrinted();
    EXPECT_EQ(a.queue.RunDone(), 2u);

    // The slips' records mark the orders for everyone.
    auto store = history::OpenStore(where);
    for (auto [desk, index] : {std::pair{&a, 0}, {&a, 2}, {&b, 1}}) {
        history::HistoryRecord slip = SampleSlip();
        slip.queue = {desk->states->IdAt(index), desk->states->Desk()};
        EXPECT_EQ(store->Record(slip).conflict, "");
    }
    for (Desk* d : {&a, &b}) {
        d->queue.Refresh();
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_EQ(d->queue.State(i), OrderState::Printed) << i;
    }
    EXPECT_EQ(history::QueueStore(*store).Count().printed, 3u);
}

TEST(SharedQueue, AStoreThatCannotBeOpenedIsSaidAndAnImportRefused) {
    Desk a(history::LocationFromArgument("/nonexistent/folder/tavo_Zaridi2.db"), "A");
    EXPECT_FALSE(a.queue.Refresh());
    EXPECT_NE(a.queue.Trouble(), "");
    EXPECT_THROW(a.queue.Reset(Mall(), nullptr), history::EHistoryStore);
    EXPECT_EQ(a.queue.Count(), 0u);
}

TEST(SharedQueue, AFileInAFolderThatCannotBeWrittenIsReadButTakesNoClaims) {
    TempDir dir;
    const std::string disk = dir.Path().string();
    const auto failures = SmallDisk(disk).Run(8192, [&] {
        const auto where = history::LocationFromArgument(disk + "/tavo_Zaridi2.db");
        history::QueueStore(*history::OpenStore(where)).Add(QueueEntries(1));
        SmallDisk(disk).MakeReadOnly();
        queue::StoreQueueStates states(where, "A");
        std::string failed;
        if (!states.Refresh() || states.Count() != 1) failed += "not read\n";
        if (states.ClaimsWork()) failed += "claims taken\n";
        return failed;
    });
    if (!failures) GTEST_SKIP() << "no private mounts for this user";
    EXPECT_EQ(*failures, "");
}

} // namespace
