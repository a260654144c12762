// The SQLite back end, on the SQLite C library itself: the rules library has no Qt, and the library
// gives the WAL mode, the header's application id and user version, and the error codes that tell a
// foreign or damaged file from a folder that cannot be written.
#include "history/HistoryStore.h"
#include "history/SqlDb.h"
#include "platform/Cp932Codec.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sqlite3.h>
#include <unistd.h>
#include <unordered_map>

namespace history {
namespace {

using Kind = EHistoryStore::Kind;

// "ZRDH" in the file header marks a history database of this program.
constexpr int kApplicationId = 0x5A524448;

class SqliteDb final : public SqlDb {
public:
    explicit SqliteDb(std::string path) : path_(std::move(path)), session_(NewUuid()) {
        try {
            if (ReadOnlyPlace()) {
                // Read as it is: no journal mode to switch, no -wal or -shm to make where none can be.
                // Without a log of recent writes beside it, the file alone is the whole history.
                std::error_code ec;
                const bool log = std::filesystem::file_size(path_ + "-wal", ec) > 0 && !ec;
                const std::string uri =
                    "file:" + UriPath(path_) + (log ? "?mode=ro" : "?mode=ro&immutable=1");
                int rc = sqlite3_open_v2(uri.c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
                if (rc != SQLITE_OK) Fail(rc);
                Ownership();
                Intact();
                return;
            }
            // A new file is the user's alone, like every file of the program; its -wal and -shm take its
            // mode.
            int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (fd >= 0) ::close(fd);
            int rc =
                sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
            if (rc != SQLITE_OK) Fail(rc);
            sqlite3_busy_timeout(db_, 5000); // another program reading or the probe writing: wait a little
            Ownership();                     // before anything is written, so a foreign file is never touched
            Intact();
            auto mode = Query("PRAGMA journal_mode = WAL", {});
            if (mode.empty() || mode[0][0].value_or("") != "wal")
                throw EHistoryStore(Kind::Unavailable, Message("WAL mode is not available"));
            Script("PRAGMA synchronous = FULL");  // a recorded slip survives a power cut
            Script("PRAGMA cache_size = -65536"); // a search reads the whole table: keep it in memory
        } catch (...) {
            Close();
            throw;
        }
    }

    ~SqliteDb() override { Close(); }

    std::vector<SqlRow> Query(std::string_view sql, const std::vector<SqlParam>& params) override {
        const Statement& prepared = Prepare(sql);
        sqlite3_stmt* stmt = prepared.stmt;
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
        // Every parameter has its place and every place its parameter, as PostgreSQL insists.
        if (prepared.places.size() != params.size())
            throw EHistoryStore(Kind::BadRequest,
                                Message(std::to_string(params.size()) + " parameters for " +
                                        std::to_string(prepared.places.size()) + " places"));
        for (std::size_t i = 0; i < params.size(); ++i) {
            const int index = prepared.places[i];
            if (index == 0)
                throw EHistoryStore(Kind::BadRequest,
                                    Message("no place for parameter $" + std::to_string(i + 1)));
            const SqlParam& p = params[i];
            if (auto* n = std::get_if<std::int64_t>(&p))
                sqlite3_bind_int64(stmt, index, *n);
            else if (auto* s = std::get_if<std::string>(&p))
                sqlite3_bind_text(stmt, index, s->data(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
            else
                sqlite3_bind_null(stmt, index);
        }
        std::vector<SqlRow> rows;
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            int n = sqlite3_column_count(stmt);
            SqlRow row(static_cast<std::size_t>(n));
            for (int c = 0; c < n; ++c) {
                if (sqlite3_column_type(stmt, c) == SQLITE_NULL) continue;
                auto text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                row[static_cast<std::size_t>(c)] =
                    std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, c)));
            }
            rows.push_back(std::move(row));
        }
        sqlite3_reset(stmt);
        if (rc != SQLITE_DONE) Fail(rc);
        return rows;
    }

    void Script(std::string_view sql) override {
        int rc = sqlite3_exec(db_, std::string(sql).c_str(), nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) Fail(rc);
    }

    bool WideIndexes() const override { return true; }
    const char* CaselessLike() const override { return "LIKE"; }
    const char* IdColumnType() const override { return "INTEGER PRIMARY KEY AUTOINCREMENT"; }

    int SchemaVersion() override {
        Ownership();
        return static_cast<int>(Integer("PRAGMA user_version"));
    }

    void BeginExclusive() override { Script("BEGIN IMMEDIATE"); }

    void SetSchemaVersion(int version) override {
        Script("PRAGMA application_id = " + std::to_string(kApplicationId) +
               "; PRAGMA user_version = " + std::to_string(version));
    }

    const std::string& Where() const override { return path_; }

    void BeginWrite() override { Script("BEGIN IMMEDIATE"); }
    const char* ForUpdate() const override { return ""; }
    const char* NowSeconds() const override { return "CAST(strftime('%s', 'now') AS INTEGER)"; }
    const char* NowMilliseconds() const override {
        return "CAST((julianday('now') - 2440587.5) * 86400000 AS INTEGER)";
    }
    std::int64_t SessionsEndedAt() override { return 0; }
    void LightCommits() override { Script("PRAGMA synchronous = NORMAL"); }

    bool TryLock(std::int64_t n) override {
        if (held_.contains(n)) return true;
        flock lock = Range(F_WRLCK, n);
        if (::fcntl(ClaimsFile(true), F_OFD_SETLK, &lock) == 0) {
            held_.insert(n);
            return true;
        }
        if (errno == EAGAIN || errno == EACCES) return false;
        throw EHistoryStore(Kind::Unavailable, Message(ClaimsPath() + ": " + std::strerror(errno)));
    }

    void Unlock(std::int64_t n) override {
        if (!held_.erase(n)) return;
        flock lock = Range(F_UNLCK, n);
        (void)::fcntl(claims_, F_OFD_SETLK, &lock);
    }

    std::unordered_set<std::int64_t> Locked(const std::vector<std::int64_t>& among) override {
        std::unordered_set<std::int64_t> locked;
        const int fd = ClaimsFile(false);
        for (std::int64_t n : among) {
            flock probe = Range(F_RDLCK, n); // a write lock elsewhere is in the way of a read lock
            if (held_.contains(n) ||
                (fd >= 0 && ::fcntl(fd, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK))
                locked.insert(n);
        }
        return locked;
    }

    const std::string& Session() const override { return session_; }

private:
    static flock Range(short type, std::int64_t n) {
        flock l{};
        l.l_type = type;
        l.l_whence = SEEK_SET;
        l.l_start = static_cast<off_t>(n);
        l.l_len = 1;
        return l;
    }

    // The claims' locks live on a file of their own beside the database, never on the database file,
    // whose bytes SQLite locks itself. Made when the first claim is taken; -1 while there is none.
    std::string ClaimsPath() const { return path_ + "-claims"; }
    int ClaimsFile(bool create) {
        if (claims_ >= 0 && (claimsWritable_ || !create)) return claims_;
        const int fd = create ? ::open(ClaimsPath().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)
                              : ::open(ClaimsPath().c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            if (!create) return -1;
            throw EHistoryStore(Kind::Unavailable, Message(ClaimsPath() + ": " + std::strerror(errno)));
        }
        if (claims_ >= 0) ::close(claims_); // a read-only one holds no lock yet
        claims_ = fd;
        claimsWritable_ = create;
        return claims_;
    }

    void Close() {
        if (claims_ >= 0) ::close(claims_); // every claim of this connection ends with it
        claims_ = -1;
        held_.clear();
        for (auto& [sql, statement] : statements_)
            sqlite3_finalize(statement.stmt);
        statements_.clear();
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }

    // Ours (our id in the header), or fresh (no id, no version, no tables); anything else is foreign.
    void Ownership() {
        std::int64_t id = Integer("PRAGMA application_id");
        if (id == kApplicationId) return;
        if (id == 0 && Integer("PRAGMA user_version") == 0 &&
            Integer("SELECT count(*) FROM sqlite_schema") == 0)
            return;
        throw EHistoryStore(Kind::Foreign, Message("another program's database"));
    }

    // A file with damage anywhere is refused whole, before a damaged page is read as data.
    void Intact() {
        auto rows = Query("PRAGMA quick_check(1)", {});
        const std::string result = rows.empty() ? "no answer" : rows[0][0].value_or("");
        if (result != "ok")
            throw EHistoryStore(Kind::Foreign, Message("damaged (" + result +
                                                       "); left as it is, a copy of it may be repaired"));
    }

    // An existing file in a folder or on a disk that cannot be written.
    bool ReadOnlyPlace() const {
        if (::access(path_.c_str(), F_OK) != 0) return false;
        const std::filesystem::path dir = std::filesystem::path(path_).parent_path();
        return ::access(dir.empty() ? "." : dir.c_str(), W_OK) != 0 || ::access(path_.c_str(), W_OK) != 0;
    }

    // The path as a URI's path: '?', '#' and '%' escaped.
    static std::string UriPath(const std::string& path) {
        std::string out;
        for (char c : path) {
            if (c == '?' || c == '#' || c == '%') {
                char buf[4];
                std::snprintf(buf, sizeof buf, "%%%02X", static_cast<unsigned char>(c));
                out += buf;
            } else {
                out += c;
            }
        }
        return out;
    }

    std::int64_t Integer(std::string_view sql) {
        auto rows = Query(sql, {});
        return rows.empty() || !rows[0][0] ? 0 : std::stoll(*rows[0][0]);
    }

    // A prepared statement and, for parameter $N, its place (0: none). Found once per statement: asking
    // SQLite for each name walks all of them, which for a batch of hundreds costs more than the insert.
    struct Statement {
        sqlite3_stmt* stmt;
        std::vector<int> places;
    };

    const Statement& Prepare(std::string_view sql) {
        auto it = statements_.find(std::string(sql));
        if (it != statements_.end()) return it->second;
        sqlite3_stmt* stmt = nullptr;
        int rc = sqlite3_prepare_v3(db_, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                                    &stmt, nullptr);
        if (rc != SQLITE_OK) Fail(rc);
        const int count = sqlite3_bind_parameter_count(stmt);
        Statement prepared{stmt, std::vector<int>(static_cast<std::size_t>(count), 0)};
        for (int index = 1; index <= count; ++index) {
            const char* name = sqlite3_bind_parameter_name(stmt, index);
            if (!name || name[0] != '$') continue;
            char* end = nullptr;
            const long n = std::strtol(name + 1, &end, 10);
            if (*end == '\0' && n >= 1 && n <= count)
                prepared.places[static_cast<std::size_t>(n - 1)] = index;
        }
        return statements_.emplace(std::string(sql), std::move(prepared)).first->second;
    }

    std::string Message(const std::string& detail) const {
        return cp932::FromUtf8("履歴 " + path_ + ": " + detail);
    }

    [[noreturn]] void Fail(int rc) {
        std::string detail = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        switch (rc & 0xFF) {
        case SQLITE_NOTADB:
        case SQLITE_CORRUPT:
            throw EHistoryStore(
                Kind::Foreign,
                Message(detail + " (not a history database, or a damaged one; left as it is)"));
        case SQLITE_ERROR:
        case SQLITE_MISMATCH:
        case SQLITE_RANGE:
        case SQLITE_CONSTRAINT:
            throw EHistoryStore(Kind::BadRequest, Message(detail));
        default: // busy, locked, read-only, cannot open, full disk, I/O error: may work later
            throw EHistoryStore(Kind::Unavailable, Message(detail));
        }
    }

    std::string path_;
    std::string session_;
    int claims_ = -1;
    bool claimsWritable_ = false;
    std::unordered_set<std::int64_t> held_; // claims this connection holds
    sqlite3* db_ = nullptr;
    std::unordered_map<std::string, Statement> statements_;
};

} // namespace

std::unique_ptr<SqlDb> OpenSqlite(const std::string& path) {
    return std::make_unique<SqliteDb>(path);
}

} // namespace history
