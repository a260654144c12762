// The SQLite file: its mode and schema version, migration, and the files it must refuse untouched.
#include "StoreUnderTest.h"
#include "unit/support/TempDir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

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
              "wal|2|1|");
}

TEST(SqliteStore, AnOlderSchemaIsMigratedKeepingItsRows) {
    TempDir dir;
    std::string path = dir.File("h.db");
    Open(path)->Insert(SampleSlip());
    // Back to version 1: the table alone.
    Sql(path,
        "DROP INDEX slip_history_time; DROP INDEX slip_history_printed_day; DROP INDEX slip_history_ship_day;"
        "DROP INDEX slip_history_order; DROP INDEX slip_history_reprint; DROP INDEX slip_history_untracked;"
        "PRAGMA user_version = 1");
    EXPECT_EQ(Open(path)->Search({}).size(), 1u);
    EXPECT_EQ(Sql(path, "PRAGMA user_version; SELECT count(*) FROM sqlite_schema WHERE type = 'index' AND "
                        "name LIKE 'slip_history_%'"),
              "2|6|");
}

TEST(SqliteStore, FilesItMayNotChangeAreRefusedAndLeftExactlyAsTheyWere) {
    TempDir dir;
    std::string ours = dir.File("newer.db");
    Open(ours)->Insert(SampleSlip());
    Sql(ours, "PRAGMA user_version = 3");
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

TEST(SqliteStore, AFolderThatCannotBeWrittenIsUnavailable) {
    TempDir dir;
    EXPECT_EQ(KindOfOpening(dir.File("missing/h.db")), Kind::Unavailable);
    if (::geteuid() == 0) GTEST_SKIP() << "root may write anywhere";
    std::filesystem::create_directory(dir.File("ro"));
    Open(dir.File("ro/h.db"))->Insert(SampleSlip());
    ::chmod(dir.File("ro").c_str(), 0555);
    EXPECT_EQ(KindOfOpening(dir.File("ro/h.db")), Kind::Unavailable);
    ::chmod(dir.File("ro").c_str(), 0755);
    EXPECT_EQ(Open(dir.File("ro/h.db"))->Search({}).size(), 1u);
}
