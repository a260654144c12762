// The shared order queue: claims and dones per second with 1, 2 and 4 desks working through the same
// orders at once, each on a connection of its own, on a private PostgreSQL server (scripts/pg-sandbox,
// started here in a folder of its own, over its Unix socket) and, for one desk, on SQLite. A done is a
// transaction that records the slip and marks the order. Goal: 200 per second with 4 desks.
#include "history/QueueStore.h"
#include "platform/Cp932Codec.h"
#include "support/BenchFolder.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

namespace {

constexpr int kOrders = 1000;

// The server for the whole run; null when it could not be started.
struct Server {
    BenchFolder folder;
    bool up = false;
    Server() {
        std::filesystem::permissions(folder.dir,
                                     std::filesystem::perms::group_exec | std::filesystem::perms::others_exec,
                                     std::filesystem::perm_options::add);
        up = std::system(
                 ("'" ZARIDI_SOURCE_DIR "/scripts/pg-sandbox' start '" + folder.dir + "/pg' >/dev/null")
                     .c_str()) == 0;
    }
    ~Server() {
        (void)!std::system(
            ("'" ZARIDI_SOURCE_DIR "/scripts/pg-sandbox' stop '" + folder.dir + "/pg'").c_str());
    }
    history::PgParams As(const std::string& db) const {
        return {{"host", folder.dir + "/pg"}, {"port", "5432"}, {"user", "zaridi"}, {"dbname", db}};
    }
};

Server& TheServer() {
    static Server server;
    return server;
}

// A store with kOrders open orders.
history::StoreLocation Filled(const history::StoreLocation& where) {
    std::vector<history::NewQueueEntry> entries;
    for (int i = 0; i < kOrders; ++i)
        entries.push_back(
            {"k" + std::to_string(i), "other", "R-" + std::to_string(i), "field=Edit_Custo1\tx\n"});
    history::QueueStore(*history::OpenStore(where)).Add(entries);
    return where;
}

// `desks` threads claim and finish orders until none is left; how many they finished.
int WorkThrough(const history::StoreLocation& where, int desks) {
    std::vector<std::unique_ptr<history::Store>> stores;
    for (int d = 0; d < desks; ++d)
        stores.push_back(history::OpenStore(where)); // connected before the clock runs
    std::vector<int> done(static_cast<std::size_t>(desks));
    std::vector<std::thread> threads;
    for (int d = 0; d < desks; ++d)
        threads.emplace_back([&, d] {
            history::QueueStore queue(*stores[static_cast<std::size_t>(d)]);
            const std::string desk = "desk" + std::to_string(d);
            history::HistoryRecord slip;
            slip.printer = "dotmatrix";
            slip.resolutionX = slip.resolutionY = 180;
            slip.values.Edit_Custo1 = cp932::FromUtf8("佐藤　花子");
            slip.values.Edit_Add1 = cp932::FromUtf8("東京都新宿区新宿３－１－１");
            while (auto e = queue.ClaimNext(desk)) {
                slip.uuid.clear();
                queue.Done(e->id, desk, slip);
                ++done[static_cast<std::size_t>(d)];
            }
        });
    for (auto& t : threads)
        t.join();
    int all = 0;
    for (int n : done)
        all += n;
    return all;
}

void Run(benchmark::State& state, const std::function<history::StoreLocation()>& fresh) {
    const int desks = static_cast<int>(state.range(0));
    std::int64_t finished = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const history::StoreLocation where = Filled(fresh());
        state.ResumeTiming();
        finished += WorkThrough(where, desks);
    }
    state.counters["claims+done/s"] =
        benchmark::Counter(static_cast<double>(finished), benchmark::Counter::kIsRate);
}

void BM_QueuePostgres(benchmark::State& state) {
    Server& server = TheServer();
    if (!server.up)
        return state.SkipWithError("the private PostgreSQL server did not start (scripts/pg-sandbox)");
    static int n = 0;
    Run(state, [&] {
        const std::string db = "bench" + std::to_string(++n);
        history::OpenPostgres(server.As("postgres"))->Script("CREATE DATABASE " + db);
        return history::StoreLocation{"", server.As(db)};
    });
}
BENCHMARK(BM_QueuePostgres)
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_QueueSqlite(benchmark::State& state) {
    BenchFolder folder;
    static int n = 0;
    Run(state,
        [&] { return history::LocationFromArgument(folder.dir + "/q" + std::to_string(++n) + ".db"); });
}
BENCHMARK(BM_QueueSqlite)->Arg(1)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
