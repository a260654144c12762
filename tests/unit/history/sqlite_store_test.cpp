// The SQLite file: its mode and schema version, migration, and the files it must refuse untouched.
#include "SmallDisk.h"
#include "StoreUnderTest.h"
#include "history/StoreColumns-private.h"
#include "platform/RuntimeErrors.h"
#include "unit/support/TempDir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <list>

using history::EHistoryStore;
using Kind = history::EHistoryStore::Kind;

std::unique_ptr<history::Store> FreshStore() {
    static std::list<TempDir> dirs; // kept until the program ends
    return history::OpenStore(history::LocationFromArgument(dirs.emplace_back().File("h.db")));
}

namespace {

// Runs SQL on the file with the library itself, as another program would.
std::string Sql(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    std::string out;
    char* err = nullptr;
    sqlite3_exec(
        db, sql.c_str(),
        [](void* o, int n, char** v, char**) {
            for (int i = 0; i < n; ++i)
                *static_cast<std::string*>(o) += std::string(v[i] ? v[i] : "NULL") + "|";
            return 0;
        },
        &out, &err);
    if (err) out = std::string("error: ") + err;
    sqlite3_free(err);
    sqlite3_close(db);
    return out;
}

std::unique_ptr<history::Store> Open(const std::string& path) {
    return history::OpenStore(history::LocationFromArgument(path));
}

Kind KindOfOpening(const std::string& path) {
    return ::KindOfOpening(history::LocationFromArgument(path));
}

} // namespace

TEST(SqliteStore, ANewFileIsInWalModeAtTheCurrentSchema) {
    TempDir dir;
    std::string path = dir.File("tavo_Zaridi2.db");
    Open(path)->Insert(SampleSlip());
    EXPECT_EQ(Sql(path, "PRAGMA journal_mode; PRAGMA user_version; SELECT count(*) FROM slip_history"),
              "wal|" + std::to_string(history::kSchemaVersion) + "|1|");
}

TEST(SqliteStore, AnOlderSchemaIsMigratedKeepingItsRows) {
    TempDir dir;
    std::string path = dir.File("h.db");
    LeaveAtVersion(*history::OpenSqlite(path), 1); // the table alone
    EXPECT_EQ(Open(path)->Search({}).size(), 1u);
    EXPECT_EQ(Sql(path, "PRAGMA user_version; SELECT count(*) FROM sqlite_schema WHERE type = 'index' AND "
                        "name LIKE 'slip_history_%'; SELECT count(*) FROM order_queue"),
              std::to_string(history::kSchemaVersion) + "|6|0|");
}

TEST(SqliteStore, AnOlderFileGainsTheNewerColumns) {
    for (int version : {2, 4}) {
        TempDir dir;
        const std::string path = dir.File("h.db");
        ExpectMigratedFrom(version, *history::OpenSqlite(path), [&] { return Open(path); });
    }
}

TEST(SqliteStore, FilesItMayNotChangeAreRefusedAndLeftExactlyAsTheyWere) {
    TempDir dir;
    std::string ours = dir.File("newer.db");
    Open(ours)->Insert(SampleSlip());
    Sql(ours, "PRAGMA user_version = " + std::to_string(history::kSchemaVersion + 1));
    std::string damaged = dir.File("damaged.db");
    Open(damaged)->Insert(SampleSlip());
    std::string bytes = TempDir::Read(damaged);
    TempDir::Write(damaged, bytes.substr(0, 100) + std::string(bytes.size() - 100, '\x5A'));
    std::string foreign = dir.File("foreign.db");
    Sql(foreign, "CREATE TABLE customers (name TEXT); INSERT INTO customers VALUES ('x')");
    std::string text = dir.File("notes.db");
    TempDir::Write(text, "not a database at all\n");

    const std::pair<std::string, Kind> cases[] = {
        {ours, Kind::NewerSchema}, {damaged, Kind::Foreign}, {foreign, Kind::Foreign}, {text, Kind::Foreign}};
    for (const auto& [path, kind] : cases) {
        std::string before = TempDir::Read(path);
        EXPECT_EQ(KindOfOpening(path), kind) << path;
        EXPECT_EQ(TempDir::Read(path), before) << path;
        EXPECT_FALSE(std::filesystem::exists(path + "-wal") && std::filesystem::file_size(path + "-wal") > 0)
            << path;
    }
}

TEST(SqliteStore, AFolderThatCannotBeWrittenIsReadAsItIsAndRefusesWrites) {
    TempDir dir;
    EXPECT_EQ(KindOfOpening(dir.File("missing/h.db")), Kind::Unavailable);
    const std::string disk = dir.Path().string();
    const auto failures = SmallDisk(disk).Run(8192, [&] {
        std::string failed;
        const std::string path = disk + "/h.db";
        Open(path)->Insert(SampleSlip());
        // Left as a desk leaves it when it closes: no -wal or -shm beside the file.
        if (std::filesystem::exists(path + "-wal")) failed += "a -wal file stayed\n";
        SmallDisk(disk).MakeReadOnly();
        try {
            auto store = Open(path);
            if (store->Search({}).size() != 1) failed += "the slip was not listed\n";
            try {
                store->Insert(SampleSlip());
                failed += "a slip was written\n";
            } catch (const EHistoryStore& e) {
                if (e.GetKind() != Kind::Unavailable)
                    failed += "a write refused as " + std::to_string(int(e.GetKind()));
            }
        } catch (const EHistoryStore& e) {
            failed += "not opened: " + cp932::ToUtf8(e.Message()) + "\n";
        }
        return failed;
    });
    if (!failures) GTEST_SKIP() << "no private mounts for this user";
    EXPECT_EQ(*failures, "");
}

TEST(SqliteStore, ANewFileIsTheUsersAlone) {
    TempDir dir;
    const std::string path = dir.File("h.db");
    const mode_t saved = ::umask(022);
    Open(path)->Insert(SampleSlip());
    ::umask(saved);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(SqliteStore, DamageWhereTheListDoesNotReadIsFoundAtOpening) {
    TempDir dir;
    const std::string path = dir.File("h.db");
    Open(path)->InsertAll(std::vector<history::HistoryRecord>(300, SampleSlip()));
    // The reprint index holds 300 empty keys: one page, which neither the list nor a record reads.
    const std::string page =
        Sql(path, "SELECT rootpage FROM sqlite_schema WHERE name = 'slip_history_reprint'");
    std::string bytes = TempDir::Read(path);
    const std::size_t at = (std::stoul(page) - 1) * 4096;
    ASSERT_LT(at, bytes.size());
    bytes[at] = '\x00'; // no page type
    TempDir::Write(path, bytes);
    EXPECT_EQ(Sql(path, "SELECT id FROM slip_history WHERE id = 300"), "300|")
        << "an ordinary read meets the damage";
    EXPECT_EQ(KindOfOpening(path), Kind::Foreign);
    EXPECT_EQ(TempDir::Read(path), bytes);
}

TEST(SqliteStore, EveryParameterNeedsItsPlaceAsOnTheServer) {
    TempDir dir;
    ExpectParametersNeedTheirPlaces(*history::OpenSqlite(dir.File("h.db")));
}

TEST(StoreColumns, ARowIsReadOnlyWithOneValueForEachColumnOfTheSelect) {
    const auto list = history::columns::SelectList();
    const std::size_t columns = static_cast<std::size_t>(std::count(list.begin(), list.end(), ',')) + 1;
    for (const std::size_t values : {columns - 1, columns + 1})
        EXPECT_THROW(history::columns::ReadRow(history::SqlRow(values)), EAssertionFailed) << values;
    EXPECT_NO_THROW(history::columns::ReadRow(history::SqlRow(columns)));
    // The insert names a parameter for every column it writes.
    const std::string insert = history::columns::InsertStatement();
    const auto named = insert.substr(insert.find('(') + 1, insert.find(')') - insert.find('(') - 1);
    EXPECT_EQ(std::count(named.begin(), named.end(), ',') + 1,
              static_cast<std::ptrdiff_t>(history::columns::InsertParams({}, {}).size()));
}
