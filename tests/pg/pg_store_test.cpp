// The history on the private PostgreSQL server: several desks at once, the password from libpq's own
// sources, a server that is down, and databases the store must leave alone.
#include "PgSandbox.h"
#include "history/HistoryRecorder.h"
#include "history/PendingFile.h"
#include "platform/ProfileFile.h"
#include "unit/history/StoreUnderTest.h"
#include "unit/support/TempDir.h"

#include <chrono>
#include <gtest/gtest.h>
#include <latch>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

using history::EHistoryStore;
using Kind = history::EHistoryStore::Kind;
using history::HistoryRecord;

std::unique_ptr<history::Store> FreshStore() {
    return history::OpenStore({"", PgAs("zaridi", NewDatabase())});
}

namespace {

std::string Count(const std::string& database, const std::string& sql) {
    return PgAdmin(database)->Query(sql, {}).at(0).at(0).value_or("NULL");
}

Kind KindOfOpening(const history::PgParams& where) {
    return ::KindOfOpening(history::StoreLocation{"", where});
}

} // namespace

TEST(PostgresStore, DesksInsertingAtOnceOnAFreshDatabaseLoseAndDoubleNothing) {
    const std::string db = NewDatabase();
    constexpr int kDesks = 8, kSlips = 40;
    std::latch go(kDesks);
    std::vector<std::string> errors(kDesks);
    std::vector<std::thread> desks;
    for (int d = 0; d < kDesks; ++d) {
        desks.emplace_back([&, d] {
            try {
                go.arrive_and_wait(); // every desk opens the store, and so creates the schema, at once
                auto store = history::OpenStore({"", PgAs("zaridi", db)});
                for (int i = 0; i < kSlips; ++i) {
                    history::HistoryRecord r = SampleSlip();
                    r.uuid = history::NewUuid();
                    r.values.Edit_Custo1 = "desk " + std::to_string(d);
                    store->Insert(r);
                    if (i % 10 == 0) store->Insert(r); // a retry of the same record
                }
            } catch (const std::exception& e) {
                errors[d] = e.what();
            }
        });
    }
    for (auto& t : desks)
        t.join();
    for (const std::string& e : errors)
        EXPECT_EQ(e, "");
    EXPECT_EQ(Count(db, "SELECT count(*) || ' ' || count(DISTINCT uuid) FROM slip_history"), "320 320");
    EXPECT_EQ(Count(db, "SELECT value FROM slip_history_meta WHERE name = 'schema_version'"),
              std::to_string(history::kSchemaVersion));
}

TEST(PostgresStore, AnOlderDatabaseGainsTheNewerColumns) {
    for (int version : {2, 4}) {
        const std::string db = NewDatabase();
        ExpectMigratedFrom(version, *PgAdmin(db), [&] {
            return history::OpenStore({"", PgAs("zaridi", db)});
        });
    }
}

TEST(PostgresStore, ThePasswordComesFromLibpqNeverFromTheSettings) {
    const std::string role = UniqueName("desk");
    PgAdmin()->Script("CREATE ROLE " + role + " LOGIN PASSWORD 'pw-" + role + "'");
    const std::string db = NewDatabase(role);
    TempDir dir;
    auto settings = ProfileFile::FromBytes(
        dir.File("tavo_Zaridi2.ini"), "[History]\r\nServer=" + PgDir() + "\r\nPort=5432\r\nDatabase=" + db +
                                          "\r\nUser=" + role + "\r\nPassword=pw-" + role + "\r\n");
    auto where = history::LocationFromSettings(settings, dir.Path().string());
    ::unsetenv("PGPASSWORD");
    ::setenv("PGPASSFILE", dir.File("none").c_str(), 1);
    EXPECT_EQ(KindOfOpening(where.postgres), Kind::Unavailable);

    ::setenv("PGPASSWORD", ("pw-" + role).c_str(), 1);
    EXPECT_GT(history::OpenStore(where)->Insert(SampleSlip()), 0);
    ::unsetenv("PGPASSWORD");

    TempDir::Write(dir.File("pgpass"), "*:*:" + db + ":" + role + ":pw-" + role + "\n");
    ::chmod(dir.File("pgpass").c_str(), 0600);
    ::setenv("PGPASSFILE", dir.File("pgpass").c_str(), 1);
    EXPECT_EQ(history::OpenStore(where)->Search({}).size(), 1u);
    ::unsetenv("PGPASSFILE");
}

TEST(PostgresStore, RecordsWaitWhileTheServerIsDownAndGoInOnceWhenItAnswers) {
    TempDir dir;
    const std::string db = NewDatabase();
    const std::string pending = history::PendingFilePath(dir.Path().string());
    history::PgParams nowhere = PgAs("zaridi", db);
    nowhere.emplace_back("host", dir.File("no-server")); // the later host wins
    history::Recorder down({"", nowhere}, pending);
    EXPECT_EQ(down.Record(SampleSlip()).status, history::RecordOutcome::Status::Pending);
    EXPECT_EQ(down.Record(SampleSlip()).pending, 2u);

    history::Recorder up({"", PgAs("zaridi", db)}, pending);
    auto outcome = up.Flush();
    EXPECT_EQ(outcome.status, history::RecordOutcome::Status::Stored);
    EXPECT_EQ(outcome.pending, 0u);
    EXPECT_EQ(up.Flush().status, history::RecordOutcome::Status::Stored);
    EXPECT_EQ(Count(db, "SELECT count(*) FROM slip_history"), "2");
}

TEST(PostgresStore, DatabasesItMayNotChangeAreRefusedAndLeftAsTheyWere) {
    const std::string foreign = NewDatabase();
    PgAdmin(foreign)->Script(
        "CREATE TABLE slip_history (note TEXT); INSERT INTO slip_history VALUES ('theirs')");
    const std::string newer = NewDatabase();
    history::OpenStore({"", PgAs("zaridi", newer)})->Insert(SampleSlip());
    PgAdmin(newer)->Script("UPDATE slip_history_meta SET value = '" +
                           std::to_string(history::kSchemaVersion + 1) + "' WHERE name = 'schema_version'");

    EXPECT_EQ(KindOfOpening(PgAs("zaridi", foreign)), Kind::Foreign);
    EXPECT_EQ(Count(foreign, "SELECT string_agg(note, ',') FROM slip_history"), "theirs");
    EXPECT_EQ(Count(foreign, "SELECT count(*) FROM pg_tables WHERE tablename = 'slip_history_meta'"), "0");
    EXPECT_EQ(KindOfOpening(PgAs("zaridi", newer)), Kind::NewerSchema);
    EXPECT_EQ(Count(newer, "SELECT count(*) FROM slip_history"), "1");
}

TEST(PostgresStore, EveryParameterNeedsItsPlace) {
    ExpectParametersNeedTheirPlaces(*PgAdmin());
}

TEST(PostgresStore, AStoppedServerHoldsADeskSecondsAndAKillMeanwhileLosesNothing) {
    TempDir dir;
    PrivateServer server(dir.File("pg"));
    const std::string pending = history::PendingFilePath(dir.Path().string());
    using Status = history::RecordOutcome::Status;
    history::Recorder desk({"", server.As()}, pending);
    ASSERT_EQ(desk.Record(SampleSlip()).status, Status::Stored);

    server.Signal(SIGSTOP);
    // On the connection made before: the deadline ends the wait, the record waits in the file.
    const auto start = std::chrono::steady_clock::now();
    const auto held = desk.Record(SampleSlip());
    EXPECT_EQ(held.status, Status::Pending);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
    EXPECT_NE(held.message.find("no answer"), std::string::npos) << held.message;

    // Another desk process, killed while it waits to connect, once its record is on disk.
    HistoryRecord killed = SampleSlip();
    killed.uuid = history::NewUuid();
    const pid_t other = ::fork();
    ASSERT_GE(other, 0);
    if (other == 0) {
        history::Recorder({"", server.As()}, pending).Record(killed);
        ::_exit(0);
    }
    bool onDisk = false;
    for (int i = 0; i < 400 && !onDisk; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        for (const HistoryRecord& r : history::ReadPending(pending).records)
            onDisk = onDisk || r.uuid == killed.uuid;
    }
    ::kill(other, SIGKILL);
    int status = 0;
    ::waitpid(other, &status, 0);
    EXPECT_TRUE(onDisk);
    EXPECT_TRUE(WIFSIGNALED(status)) << "the other desk ended by itself: " << status;

    server.Signal(SIGCONT);
    EXPECT_EQ(desk.Flush().status, Status::Stored);
    EXPECT_FALSE(std::filesystem::exists(pending));
    const auto stored = history::OpenStore({"", server.As()})->Search({});
    EXPECT_EQ(stored.size(), 3u);
    EXPECT_EQ(std::count_if(stored.begin(), stored.end(),
                            [&](const HistoryRecord& r) { return r.uuid == killed.uuid; }),
              1);
}
