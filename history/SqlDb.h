#pragma once
// The seam between the history's queries and its two databases. Every query is written once, with
// $1, $2 ... placeholders that both SQLite and PostgreSQL understand, and runs unchanged on either;
// only opening, schema versioning and locking differ. Texts crossing this seam are UTF-8.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <variant>
#include <vector>

namespace history {

using SqlParam = std::variant<std::monostate, std::int64_t, std::string>; // NULL, integer, UTF-8 text
using SqlRow = std::vector<std::optional<std::string>>;                   // every column as text, or NULL

class SqlDb {
public:
    virtual ~SqlDb() = default;

    // Runs one statement with its parameters bound (never spliced into the text) and returns its rows.
    virtual std::vector<SqlRow> Query(std::string_view sql, const std::vector<SqlParam>& params) = 0;
    // Runs statements without parameters (schema changes, transaction control).
    virtual void Script(std::string_view sql) = 0;

    // Whether an index entry may be as long as the text it holds (PostgreSQL limits one to about 2.7 kB).
    virtual bool WideIndexes() const = 0;
    // The LIKE that ignores the case of ASCII letters.
    virtual const char* CaselessLike() const = 0;
    // Type of the id column: an auto-numbered 64-bit primary key.
    virtual const char* IdColumnType() const = 0;
    // The schema version the database carries: 0 for a fresh one. Raises EHistoryStore (Foreign) when
    // the database belongs to someone else or is damaged; reads only.
    virtual int SchemaVersion() = 0;
    // Opens a transaction that no other desk or process can interleave a migration with.
    virtual void BeginExclusive() = 0;
    // Inside the exclusive transaction: marks the database as ours at `version`.
    virtual void SetSchemaVersion(int version) = 0;
    // What the user reads in messages: the file's path or the server and database.
    virtual const std::string& Where() const = 0;

    // A transaction that writes: SQLite takes the write lock at once (a read first and a write later
    // could not take it), PostgreSQL begins as usual.
    virtual void BeginWrite() = 0;
    // Appended to a SELECT of a row about to be changed in the same transaction: PostgreSQL locks it
    // (" FOR UPDATE"); SQLite, whose writers take turns, needs nothing.
    virtual const char* ForUpdate() const = 0;
    // The database's clock in seconds and in milliseconds since 1970, as SQL expressions: every desk
    // reads one clock.
    virtual const char* NowSeconds() const = 0;
    virtual const char* NowMilliseconds() const = 0;
    // Commits on this connection need not be on the disk when they return: SQLite's WAL file is synced
    // at its checkpoints instead, so a power cut may lose the last few of them, never break the file.
    // For a connection whose writes a desk can make again (claims, holds, an import), never for slips.
    // PostgreSQL keeps its own setting.
    virtual void LightCommits() = 0;
    // When every connection last ended at once (a server's start, on its clock, in milliseconds since
    // 1970); 0 for a file.
    virtual std::int64_t SessionsEndedAt() = 0;

    // Claims of the order queue: a lock on a number that belongs to this connection and ends with it,
    // however it ends (closed, dropped, the process killed): PostgreSQL session advisory locks, for
    // SQLite open-file-description locks on a file beside the database. False when another connection
    // holds it; taking it again on this connection is a no-op.
    virtual bool TryLock(std::int64_t n) = 0;
    virtual void Unlock(std::int64_t n) = 0;
    // Of these numbers, those some connection (this one included) holds the lock on.
    virtual std::unordered_set<std::int64_t> Locked(const std::vector<std::int64_t>& among) = 0;
    // Names this connection among all that ever were: what a claim records as its holder.
    virtual const std::string& Session() const = 0;
};

// The path is native (UTF-8). Creates the file when missing; never writes to a file that is not ours.
std::unique_ptr<SqlDb> OpenSqlite(const std::string& path);

// libpq keyword/value pairs, in order: a later pair overrides an earlier one, and a "dbname" value
// that is a URI or a conninfo string is expanded in place.
using PgParams = std::vector<std::pair<std::string, std::string>>;
std::unique_ptr<SqlDb> OpenPostgres(const PgParams& params);

} // namespace history
