// The shared order queue on the private PostgreSQL: desk processes working through a day's orders at
// once, and a server stopped and started again in the middle of it.
#include "PgSandbox.h"
#include "history/HistoryRecorder.h"
#include "history/PendingFile.h"
#include "orders/OrderQueue.h"
#include "queue/StoreQueueStates.h"
#include "unit/history/StoreUnderTest.h"
#include "unit/queue/QueueUnderTest.h"
#include "unit/support/TempDir.h"

#include <functional>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>

history::StoreLocation FreshQueueLocation() {
    return {"", PgAs("zaridi", NewDatabase())};
}

namespace {

std::string One(const history::StoreLocation& where, const std::string& sql) {
    return history::OpenPostgres(where.postgres)->Query(sql, {}).at(0).at(0).value_or("NULL");
}

// A desk of its own process: claims and finishes orders until none is left, connecting afresh (and
// taking back its claims) whenever the server is away. Returns how many it finished.
int Work(const history::StoreLocation& where, const std::string& desk) {
    int finished = 0;
    std::unique_ptr<history::Store> store;
    std::unique_ptr<history::QueueStore> queue;
    std::vector<std::int64_t> mine;
    for (int failures = 0; failures < 200;) {
        try {
            if (!queue) {
                store = history::OpenStore(where);
                queue = std::make_unique<history::QueueStore>(*store);
                mine = queue->Retake(desk);
            }
            std::int64_t id;
            if (!mine.empty()) {
                id = mine.back();
                mine.pop_back();
            } else if (auto next = queue->ClaimNext(desk)) {
                id = next->id;
            } else {
                return finished;
            }
            history::HistoryRecord slip = SampleSlip();
            slip.order = "order " + std::to_string(id);
            queue->Done(id, desk, slip);
            ++finished;
        } catch (const history::EHistoryStore& e) {
            if (e.GetKind() == history::EHistoryStore::Kind::BadRequest) continue; // its done went in
            queue.reset();
            store.reset();
            ++failures;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    return finished;
}

// Each desk in a process of its own; whether each finished some orders.
std::vector<bool> Desks(const history::StoreLocation& where, int desks,
                        const std::function<void()>& meanwhile) {
    std::vector<pid_t> pids;
    for (int d = 0; d < desks; ++d) {
        const pid_t pid = ::fork();
        if (pid == 0) ::_exit(Work(where, "desk" + std::to_string(d)) > 0 ? 0 : 1);
        pids.push_back(pid);
    }
    meanwhile();
    std::vector<bool> worked;
    for (pid_t pid : pids) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        worked.push_back(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    return worked;
}

// Every order printed, each by exactly one slip that names it.
void ExpectEachPrintedOnce(const history::StoreLocation& where, int orders) {
    const std::string n = std::to_string(orders);
    EXPECT_EQ(One(where, "SELECT count(*) || ' ' || count(DISTINCT order_ref) FROM slip_history"),
              n + " " + n);
    EXPECT_EQ(One(where,
                  "SELECT count(*) FILTER (WHERE state = 'printed') || ' ' || count(DISTINCT record_id) "
                  "FROM order_queue"),
              n + " " + n);
    EXPECT_EQ(One(where, "SELECT count(*) FROM order_queue q JOIN slip_history h ON h.id = q.record_id "
                         "WHERE h.order_ref = 'order ' || q.id"),
              n);
}

TEST(PostgresQueue, FourDesksWorkThroughTwoThousandOrdersPrintingEachOnce) {
    const history::StoreLocation where = FreshQueueLocation();
    history::QueueStore(*history::OpenStore(where)).Add(QueueEntries(2000));
    const std::vector<bool> worked = Desks(where, 4, [] {});
    ExpectEachPrintedOnce(where, 2000);
    EXPECT_EQ(worked, std::vector<bool>(4, true)) << "a desk without work, or one that failed";
}

TEST(PostgresQueue, AServerStoppedAndStartedMidRunLosesAndDoublesNothing) {
    TempDir dir;
    PrivateServer server(dir.File("pg"));
    const history::StoreLocation where{"", server.As()};
    history::QueueStore(*history::OpenStore(where)).Add(QueueEntries(600));
    Desks(where, 4, [&] {
        const auto printed = [&] { return std::stoi(One(where, "SELECT count(*) FROM slip_history")); };
        int before;
        while ((before = printed()) < 100)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        server.Stop();
        EXPECT_LT(before, 500) << "the run was over before the server stopped";
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        server.Start();
    });
    ExpectEachPrintedOnce(where, 600);
}

// A desk prints the order it holds while the server is away; its record waits in the pending file
// and, once it goes in, marks the order. Meanwhile the desk keeps its claim: the desk that starts
// afresh on the restarted server is given the other order.
TEST(PostgresQueue, ASlipPrintedWhileTheServerWasAwayMarksItsOrderWhenItsRecordGoesIn) {
    TempDir dir;
    PrivateServer server(dir.File("pg"));
    const history::StoreLocation where{"", server.As()};
    orders::Order one, two;
    one.ref = "A-1";
    two.ref = "A-2";
    orders::OrderQueue desk(std::make_unique<queue::StoreQueueStates>(where, "A"));
    desk.Reset({one, two}, nullptr);
    ASSERT_TRUE(desk.Refresh());
    ASSERT_TRUE(desk.Load(0));

    server.Stop(); // the claim's connection ends with it
    history::Recorder recorder(where, history::PendingFilePath(dir.Path().string()));
    history::HistoryRecord slip = SampleSlip();
    slip.queue = {1, "A"};
    EXPECT_EQ(recorder.Record(slip).status, history::RecordOutcome::Status::Pending);
    EXPECT_FALSE(desk.Refresh());
    EXPECT_NE(desk.Trouble(), "");
    EXPECT_FALSE(desk.Load(1)); // only what it held may be printed now
    EXPECT_EQ(desk.Current(), 0u);
    desk.CurrentPrinted();
    server.Start();

    auto other = history::OpenStore(where);
    history::QueueStore newcomer(*other);
    EXPECT_EQ(newcomer.ClaimNext("B").value_or(history::QueueEntry{}).id, 2);
    EXPECT_TRUE(desk.Refresh()); // desk A connects again and takes its claim back
    const history::RecordOutcome replay = recorder.Flush();
    EXPECT_EQ(replay.status, history::RecordOutcome::Status::Stored);
    EXPECT_TRUE(replay.conflicts.empty());
    EXPECT_EQ(newcomer.Get(1)->state, history::QueueState::Printed);
    EXPECT_EQ(newcomer.Get(1)->desk, "A");
}

} // namespace
