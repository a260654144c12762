// The shared order queue in the store, on SQLite here and on the private PostgreSQL in pg_tests: claims
// that belong to one desk's connection and end with it, the done that records the slip and marks the
// order in one go, holds and cancellations, and a second slip of one order reported and void.
#include "QueueUnderTest.h"
#include "history/HistoryRecorder.h"
#include "platform/Cp932Codec.h"
#include "unit/history/StoreUnderTest.h"

#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using history::QueueState;

namespace {

using Stores = std::vector<std::unique_ptr<history::Store>>;

history::HistoryRecord Slip(const std::string& order) {
    history::HistoryRecord r = SampleSlip();
    r.order = order;
    return r;
}

// Whether `holds` came true within the time a server takes to end a closed connection's session.
template <class F>
bool Soon(F&& holds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!holds()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// The kind of refusal `work` meets, or "done".
template <class F>
std::string Refused(F&& work) {
    try {
        work();
        return "done";
    } catch (const history::EHistoryStore& e) {
        return e.GetKind() == history::EHistoryStore::Kind::BadRequest ? "refused" : "other";
    }
}

TEST(QueueStore, EachClaimIsOneDesksAndEndsWithItsConnection) {
    const auto where = FreshQueueLocation();
    auto a = history::OpenStore(where), b = history::OpenStore(where);
    history::QueueStore qa(*a);
    auto qb = std::make_unique<history::QueueStore>(*b);
    EXPECT_EQ(qa.Add(QueueEntries(3)).added, 3u);
    const auto again = qb->Add(QueueEntries(4)); // the same three and one more
    EXPECT_EQ(again.added, 1u);
    EXPECT_EQ(again.already, 3u);

    const auto first = qa.ClaimNext("A");
    const auto second = qb->ClaimNext("B");
    ASSERT_TRUE(first && second);
    EXPECT_NE(first->id, second->id);
    EXPECT_TRUE(first->mine);
    const history::QueueEntry taken = qa.Claim(second->id, "A");
    EXPECT_EQ(taken.state, QueueState::Claimed);
    EXPECT_EQ(taken.desk, "B");
    EXPECT_FALSE(taken.mine);
    EXPECT_EQ(qa.Count().claimed, 2u);

    qb.reset();
    b.reset(); // desk B's program ends
    EXPECT_TRUE(Soon([&] { return qa.Count().claimed == 1; }));
    EXPECT_TRUE(qa.Claim(second->id, "A").mine);
    qa.Release(first->id);
    EXPECT_EQ(qa.ClaimNext("A")->id, first->id);
}

TEST(QueueStore, DoneRecordsTheSlipAndMarksTheOrderOnlyUnderItsDesksLiveClaim) {
    const auto where = FreshQueueLocation();
    auto holder = history::OpenStore(where), other = history::OpenStore(where);
    history::QueueStore held(*holder), desk(*other);
    desk.Add(QueueEntries(2));
    const std::int64_t x = held.ClaimNext("A")->id;
    const std::int64_t y = desk.ClaimNext("B")->id;

    // Another connection of desk A may finish what A holds; nobody else may.
    EXPECT_EQ(Refused([&] { desk.Done(x, "B", Slip("R-1")); }), "refused");
    const std::int64_t record = desk.Done(x, "A", Slip("R-1"));
    EXPECT_EQ(Refused([&] { held.Done(x, "A", Slip("R-1")); }), "refused");
    const auto printed = held.Get(x);
    EXPECT_EQ(printed->state, QueueState::Printed);
    EXPECT_EQ(printed->record, record);
    EXPECT_EQ(printed->desk, "A");
    EXPECT_EQ(holder->Get(record)->order, "R-1");
    EXPECT_EQ(held.Claim(x, "A").state, QueueState::Printed); // never claimed again

    other.reset(); // B's claim ends with its connection: too late for its done
    history::QueueStore late(*(other = history::OpenStore(where)));
    EXPECT_TRUE(Soon([&] { return late.Count().claimed == 0; }));
    EXPECT_EQ(Refused([&] { late.Done(y, "B", Slip("R-2")); }), "refused");
    EXPECT_EQ(holder->Search({}).size(), 1u);
    const history::QueueCounts c = late.Count();
    EXPECT_EQ(std::vector<std::size_t>({c.open, c.claimed, c.printed}), std::vector<std::size_t>({1, 0, 1}));
}

TEST(QueueStore, AKilledDeskGivesItsOrderBackAtOnce) {
    const auto where = FreshQueueLocation();
    history::QueueStore(*history::OpenStore(where)).Add(QueueEntries(2));
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    const pid_t desk = ::fork();
    ASSERT_GE(desk, 0);
    if (desk == 0) {
        auto store = history::OpenStore(where);
        history::QueueStore queue(*store);
        const std::int64_t id = queue.ClaimNext("A")->id;
        (void)!::write(pipe[1], &id, sizeof id);
        ::pause();
        ::_exit(0);
    }
    std::int64_t id = 0;
    ASSERT_EQ(::read(pipe[0], &id, sizeof id), static_cast<ssize_t>(sizeof id));
    ::kill(desk, SIGKILL);
    ::waitpid(desk, nullptr, 0);
    ::close(pipe[0]);
    ::close(pipe[1]);

    auto store = history::OpenStore(where);
    history::QueueStore queue(*store);
    // A server notices the lost connection a moment later: the lease is the time it takes.
    std::optional<history::QueueEntry> next;
    EXPECT_TRUE(Soon([&] {
        if (next) queue.Release(next->id);
        return (next = queue.ClaimNext("B")) && next->id == id;
    }));
}

TEST(QueueStore, HoldsAndCancellationsFollowTheOrdersState) {
    const auto where = FreshQueueLocation();
    auto a = history::OpenStore(where), b = history::OpenStore(where);
    history::QueueStore qa(*a), qb(*b);
    qa.Add(QueueEntries(3));
    const std::int64_t mine = qa.ClaimNext("A")->id, theirs = qb.ClaimNext("B")->id, open = 3;
    const struct {
        const char* what;
        bool (history::QueueStore::*change)(std::int64_t, bool);
        std::int64_t id;
        bool to, done;
        QueueState after;
    } steps[] = {
        {"another desk's claim is not held", &history::QueueStore::SetHeld, theirs, true, false,
         QueueState::Claimed},
        {"an open order is held", &history::QueueStore::SetHeld, open, true, true, QueueState::Held},
        {"a held order is not claimed", nullptr, open, false, false, QueueState::Held},
        {"and let go", &history::QueueStore::SetHeld, open, false, true, QueueState::Open},
        {"this desk's claim is held", &history::QueueStore::SetHeld, mine, true, true, QueueState::Held},
        {"a held order is cancelled", &history::QueueStore::SetCancelled, mine, true, true,
         QueueState::Cancelled},
        {"a cancelled one is not let go as held", &history::QueueStore::SetHeld, mine, false, false,
         QueueState::Cancelled},
        {"it comes back", &history::QueueStore::SetCancelled, mine, false, true, QueueState::Open},
    };
    for (const auto& s : steps) {
        if (s.change)
            EXPECT_EQ((qa.*s.change)(s.id, s.to), s.done) << s.what;
        else
            EXPECT_NE(qa.ClaimNext("A").value_or(history::QueueEntry{}).id, s.id) << s.what;
        EXPECT_EQ(qa.Get(s.id)->state, s.after) << s.what;
    }
}

TEST(QueueStore, ASecondSlipOfAnOrderIsStoredVoidAndReportedAndTheOrderKeepsItsFirst) {
    const auto where = FreshQueueLocation();
    auto store = history::OpenStore(where);
    history::QueueStore queue(*store);
    queue.Add(QueueEntries(2));
    const std::int64_t id = queue.ClaimNext(cp932::FromUtf8("作業台1"))->id;

    history::HistoryRecord first = Slip("R-1");
    first.uuid = history::NewUuid();
    first.queue = {id, cp932::FromUtf8("作業台1")};
    const history::Store::Inserted stored = store->Record(first);
    EXPECT_EQ(stored.conflict, "");
    EXPECT_EQ(store->Record(first).id, stored.id); // the same slip once more: a retry, nothing new

    history::HistoryRecord second = Slip("R-1"); // printed on desk 2 while its record waited
    second.queue = {id, cp932::FromUtf8("作業台2")};
    const history::Store::Inserted again = store->Record(second);
    EXPECT_NE(again.id, stored.id);
    EXPECT_NE(cp932::ToUtf8(again.conflict).find("作業台「作業台1」で印刷済み"), std::string::npos)
        << cp932::ToUtf8(again.conflict);
    EXPECT_EQ(queue.Get(id)->record, stored.id);
    EXPECT_EQ(queue.Count().printed, 1u);
    EXPECT_TRUE(store->Get(again.id)->isVoid);
    EXPECT_FALSE(store->Get(stored.id)->isVoid);

    const std::int64_t cancelled = queue.ClaimNext("A")->id;
    queue.SetCancelled(cancelled, true);
    history::HistoryRecord late = Slip("R-2");
    late.queue = {cancelled, "A"};
    EXPECT_NE(cp932::ToUtf8(store->Record(late).conflict).find("取り消されていました"), std::string::npos);
    EXPECT_EQ(queue.Get(cancelled)->state, QueueState::Cancelled);
}

} // namespace
