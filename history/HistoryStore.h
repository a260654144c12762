#pragma once
// The history of printed slips: one store, kept either in an SQLite file in the working folder
// (tavo_Zaridi2.db, the default) or, for a packing room with several desks, on a PostgreSQL server
// named by the [History] section of the settings file. The same queries run on both.
//
// For the window glue:
//   auto store = history::OpenStore(history::LocationFromSettings(settings, dir)); // on first use
//   store->Search({.name = ...})          newest first, for the list
//   store->Get(id)                        one row, to load its values into the fields
//   store->SetTracking(id, scanned)       then store->NextUntracked(id) to move on
//   store->MarkVoid(id)                   a spoiled slip (書き損じ): kept with its number, never shipped
//   store->PrintedOrders(refs)            "already printed" for the order import, one query a batch
//   history::ShippedSlips(*store, ...)    the slips of the shipped files (ShippedSlips.h)
// Recording after EndDoc goes through history::Recorder (HistoryRecorder.h), never straight here,
// so that a store that cannot be written loses nothing.
//
// Every operation raises EHistoryStore when the database cannot be used; messages are CP932 and
// name the file or server.
#include "history/HistoryRecord.h"
#include "history/SqlDb.h"
#include "platform/RuntimeErrors.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

class ProfileFile;

namespace history {

inline constexpr const char* kDatabaseFileName = "tavo_Zaridi2.db";
inline constexpr const char* kHistorySection = "History";
inline constexpr int kSchemaVersion = 5;

class EHistoryStore : public Exception {
public:
    enum class Kind {
        Unavailable, // cannot open, connect, log in or write: worth retrying later
        Foreign,     // not a history database, or a damaged one: left exactly as it is
        NewerSchema, // made by a newer program: left exactly as it is
        BadRequest,  // the request itself is wrong (an unknown id, a malformed time)
    };
    EHistoryStore(Kind kind, std::string message) : Exception(std::move(message)), kind_(kind) {}
    Kind GetKind() const { return kind_; }

private:
    Kind kind_;
};

// Where the store lives.
struct StoreLocation {
    std::string sqlitePath; // set for SQLite
    PgParams postgres;      // set for PostgreSQL (libpq keywords, UTF-8)
    bool IsPostgres() const { return !postgres.empty(); }
};

// From the settings file: the server of [History] (Server, Port, Database, User) when Server is set,
// else `dir`/tavo_Zaridi2.db. The password is never read from the settings: libpq takes it from
// PGPASSWORD or ~/.pgpass.
StoreLocation LocationFromSettings(const ProfileFile& settings, const std::string& dir);

// From a command line: a postgresql:// or postgres:// URI, else the path of an SQLite file.
StoreLocation LocationFromArgument(const std::string& arg);

// Searches combine every criterion given (AND); an empty text matches everything. Texts are CP932
// and match anywhere in the field, literally: %, _, quotes and SQL text have no special meaning.
struct SearchQuery {
    std::string name;     // consignee name
    std::string phone;    // consignee phone: compared by its digits when it has any
    std::string postcode; // consignee postcode: likewise
    std::string address;  // address lines 1 to 3, read as one text
    std::string tracking;
    std::string order;
    std::string from, to;     // days of printing, "yyyy-MM-dd" or "yyyy/MM/dd", both inclusive; empty: open
    std::size_t limit = 1000; // 0: no limit
    bool oldestFirst = false; // newest first unless set
};

struct TrackingResult {
    std::string stored; // what was stored (CP932), empty when the number was cleared
    bool warning;       // not the carrier's 12 digits: stored anyway, the user should look again
};

class QueueStore;

class Store {
public:
    // Checks the schema and migrates it (creating it in a fresh database). Raises Foreign or NewerSchema
    // without writing anything when the database is not one it may change.
    explicit Store(std::unique_ptr<SqlDb> db);

    // Adds the record and returns its id. A record whose uuid is already stored is not added again:
    // its existing id is returned. A reprint points to the first printing even when it is given a
    // reprint's id. Empty uuid and time are filled in (a new uuid, the current local time).
    std::int64_t Insert(const HistoryRecord& record);
    // As Insert; a slip printed for an order of the queue (record.queue) marks the order printed in the
    // same transaction. When another slip got there first, or the order was cancelled meanwhile, the
    // record is stored all the same (the slip is on paper) but void, and `conflict` says so (CP932);
    // the order keeps its first slip.
    struct Inserted {
        std::int64_t id = 0;
        std::string conflict;
    };
    Inserted Record(const HistoryRecord& record);
    // All of them in one transaction: either every one is stored afterwards or none was added.
    std::vector<std::int64_t> InsertAll(const std::vector<HistoryRecord>& records);

    std::vector<HistoryRecord> Search(const SearchQuery& query);
    std::optional<HistoryRecord> Get(std::int64_t id);

    // Trimmed and folded to half-width; blanks and hyphens between digits are dropped. An empty number
    // clears the row's. Raises BadRequest for an unknown id.
    TrackingResult SetTracking(std::int64_t id, const std::string& number);
    // Marks the slip of record `id` void (書き損じ, or skipped in a stack: it keeps its number, and no
    // shipped file lists it), or takes the mark back. Raises BadRequest for an unknown id.
    void MarkVoid(std::int64_t id, bool isVoid = true);
    // The next row in the list's order (newest first: the next older one) that has no tracking number.
    std::optional<std::int64_t> NextUntracked(std::int64_t id);

    // Whether a slip with this order reference (exact, CP932) has been printed.
    bool HasOrder(const std::string& order);
    // Of these order references (exact, CP932), those a slip has been printed for: one query for a
    // thousand references, so an import of any size asks the store once or a few times, not per order.
    std::unordered_set<std::string> PrintedOrders(const std::vector<std::string>& orders);

    // Every record whose ship day lies in [from, to] ("yyyy-MM-dd" or "yyyy/MM/dd", both inclusive; empty:
    // open), oldest printing first.
    std::vector<HistoryRecord> ByShipDay(const std::string& from, const std::string& to);

    const std::string& Where() const { return db_->Where(); }

private:
    friend class QueueStore; // the queue's table beside slip_history, on the same connection

    void Migrate();
    Inserted InsertOne(const HistoryRecord& record);

    std::unique_ptr<SqlDb> db_;
};

std::unique_ptr<Store> OpenStore(const StoreLocation& location);

// The carrier's slip numbers are 12 digits.
bool IsCarrierSlipNumber(const std::string& number);

} // namespace history
