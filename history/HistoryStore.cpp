#include "history/HistoryStore.h"

#include "history/QueueTable-private.h"
#include "history/StoreColumns-private.h"
#include "history/StoreSchema-private.h"
#include "history/Transaction-private.h"
#include "platform/Cp932.h"
#include "platform/Cp932Codec.h"
#include "platform/FileIO.h"
#include "platform/HalfWidth.h"
#include "platform/ProfileFile.h"

#include <ctime>

namespace history {
namespace {

using Kind = EHistoryStore::Kind;
using columns::Cp;
using columns::TextOrNull;
using columns::ToInt;

// A LIKE pattern that finds `utf8` anywhere, every character taken literally (with ESCAPE '\').
std::string ContainsPattern(std::string_view utf8) {
    std::string p = "%";
    for (char c : utf8) {
        if (c == '\\' || c == '%' || c == '_') p += '\\';
        p += c;
    }
    return p + "%";
}

std::string DayOrThrow(const std::string& text) {
    auto day = NormalizeDay(text);
    if (!day) throw EHistoryStore(Kind::BadRequest, cp932::FromUtf8("日付が正しくありません: ") + text);
    return *day;
}

} // namespace

Store::Store(std::unique_ptr<SqlDb> db) : db_(std::move(db)) {
    Migrate();
}

void Store::Migrate() {
    auto refuseNewer = [this](int version) {
        if (version > kSchemaVersion)
            throw EHistoryStore(Kind::NewerSchema,
                                cp932::FromUtf8("履歴 ") + db_->Where() +
                                    cp932::FromUtf8(" は新しい版のプログラムで作られています（スキーマ ") +
                                    std::to_string(version) + cp932::FromUtf8("、このプログラムは ") +
                                    std::to_string(kSchemaVersion) +
                                    cp932::FromUtf8(" まで）。変更しません。"));
    };
    int version = db_->SchemaVersion();
    refuseNewer(version);
    if (version == kSchemaVersion) return;
    db_->BeginExclusive();
    Committed(*db_, [&] {
        // Another desk may have migrated while this one waited for the lock.
        int now = db_->SchemaVersion();
        refuseNewer(now);
        for (int step = now + 1; step <= kSchemaVersion; ++step)
            db_->Script(schema::Step(step, *db_));
        if (now < kSchemaVersion) db_->SetSchemaVersion(kSchemaVersion);
        return 0;
    });
}

Store::Inserted Store::InsertOne(const HistoryRecord& in) {
    HistoryRecord r = in;
    if (r.uuid.empty()) r.uuid = NewUuid();
    if (r.time.empty()) r.time = LocalTimestamp(std::time(nullptr));
    auto parsed = ParseTimestamp(r.time);
    if (!parsed)
        throw EHistoryStore(Kind::BadRequest, cp932::FromUtf8("印刷時刻が正しくありません: ") + r.time);

    columns::Derived derived;
    if (r.reprintOf) {
        auto rows = db_->Query(
            "SELECT COALESCE(reprint_of, id), order_ref, platform, refs, delivery_day, delivery_time FROM "
            "slip_history WHERE id = $1",
            {*r.reprintOf});
        if (rows.empty())
            throw EHistoryStore(Kind::BadRequest, cp932::FromUtf8("再印刷の元の記録がありません: ") +
                                                      std::to_string(*r.reprintOf));
        derived.reprintOf = ToInt(rows[0][0]);
        if (r.order.empty()) { // a reprint ships the same order
            r.order = Cp(rows[0][1]);
            r.platform = Cp(rows[0][2]);
            r.refs = RefsFromJson(rows[0][3].value_or("")).value_or(Refs{});
            r.delivery = {Cp(rows[0][4]), Cp(rows[0][5])};
        }
    }

    derived.utcSeconds = parsed->utcSeconds;
    derived.localDay = parsed->localDay;
    derived.shipDay = ShipDay(r, parsed->localDay);
    auto rows = db_->Query(columns::InsertStatement(), columns::InsertParams(r, derived));
    if (rows.empty()) rows = db_->Query("SELECT id FROM slip_history WHERE uuid = $1", {r.uuid});
    Inserted out{ToInt(rows.at(0).at(0)), ""};
    if (r.queue.order != 0) out.conflict = queue_table::MarkPrinted(*db_, r.queue, out.id);
    return out;
}

std::int64_t Store::Insert(const HistoryRecord& record) {
    return Record(record).id;
}

Store::Inserted Store::Record(const HistoryRecord& record) {
    if (record.queue.order == 0) return InsertOne(record);
    db_->BeginWrite();
    return Committed(*db_, [&] { return InsertOne(record); });
}

std::vector<std::int64_t> Store::InsertAll(const std::vector<HistoryRecord>& records) {
    db_->Script("BEGIN");
    return Committed(*db_, [&] {
        std::vector<std::int64_t> ids;
        ids.reserve(records.size());
        for (const HistoryRecord& r : records)
            ids.push_back(InsertOne(r).id);
        return ids;
    });
}

std::vector<HistoryRecord> Store::Search(const SearchQuery& q) {
    std::string where;
    std::vector<SqlParam> params;
    auto add = [&](const std::string& condition, SqlParam value) {
        params.push_back(std::move(value));
        std::string n = "$" + std::to_string(params.size());
        std::string c = condition;
        c.replace(c.find('?'), 1, n);
        where += (where.empty() ? " WHERE " : " AND ") + c;
    };
    bool scans = false; // a text criterion: every row must be read anyway
    auto contains = [&](const char* column, const std::string& cp) {
        std::string text = cp932::PlainTrim(cp);
        if (text.empty()) return;
        add(std::string(column) + " " + db_->CaselessLike() + " ? ESCAPE '\\'",
            ContainsPattern(cp932::ToUtf8(text)));
        scans = true;
    };
    // Phone numbers and postcodes are written with and without hyphens: their digits decide.
    auto digitsOrText = [&](const char* digitsColumn, const char* column, const std::string& cp) {
        std::string digits = DigitsOf(cp932::ToHalfWidth(cp));
        if (digits.empty()) return contains(column, cp);
        add(std::string(digitsColumn) + " LIKE ? ESCAPE '\\'", ContainsPattern(digits));
        scans = true;
    };
    contains("Edit_Custo1", q.name);
    digitsOrText("tel_digits", "Edit_tel", q.phone);
    digitsOrText("zip_digits", "Edit_Zip", q.postcode);
    contains("(Edit_Add1 || Edit_Add2 || Edit_Add3)", q.address);
    contains("tracking", q.tracking);
    contains("order_ref", q.order);
    // With a text criterion, walking the list's index in order and stopping at a page of matches beats
    // fetching every row of the days from the day index; an expression in place of the bare column
    // keeps SQLite's planner off the day index (PostgreSQL plans for itself either way).
    const char* day = scans ? "printed_day || ''" : "printed_day";
    if (!q.from.empty()) add(std::string(day) + " >= ?", DayOrThrow(q.from));
    if (!q.to.empty()) add(std::string(day) + " <= ?", DayOrThrow(q.to));

    // The matching ids first, then only their rows: the sort and the page limit work on narrow rows.
    const std::string order =
        q.oldestFirst ? " ORDER BY printed_utc, id" : " ORDER BY printed_utc DESC, id DESC";
    std::string ids = "SELECT id FROM slip_history" + where + order;
    if (q.limit > 0) {
        params.emplace_back(static_cast<std::int64_t>(q.limit));
        ids += " LIMIT $" + std::to_string(params.size());
    }
    std::string sql =
        "SELECT " + columns::SelectList() + " FROM slip_history WHERE id IN (" + ids + ")" + order;
    std::vector<HistoryRecord> out;
    for (const SqlRow& row : db_->Query(sql, params))
        out.push_back(columns::ReadRow(row));
    return out;
}

std::optional<HistoryRecord> Store::Get(std::int64_t id) {
    auto rows = db_->Query("SELECT " + columns::SelectList() + " FROM slip_history WHERE id = $1", {id});
    if (rows.empty()) return std::nullopt;
    return columns::ReadRow(rows[0]);
}

bool IsCarrierSlipNumber(const std::string& number) {
    return number.size() == 12 && DigitsOf(number) == number;
}

TrackingResult Store::SetTracking(std::int64_t id, const std::string& number) {
    std::string text = cp932::PlainTrim(cp932::ToHalfWidth(number));
    std::string digits = DigitsOf(text);
    if (!digits.empty() && text.find_first_not_of("0123456789- ") == std::string::npos) text = digits;
    auto rows = db_->Query("UPDATE slip_history SET tracking = $1 WHERE id = $2 RETURNING id",
                           {TextOrNull(text), id});
    if (rows.empty())
        throw EHistoryStore(Kind::BadRequest, cp932::FromUtf8("履歴にない記録です: ") + std::to_string(id));
    return {text, !text.empty() && !IsCarrierSlipNumber(text)};
}

void Store::MarkVoid(std::int64_t id, bool isVoid) {
    if (db_->Query("UPDATE slip_history SET void = $1 WHERE id = $2 RETURNING id", {std::int64_t{isVoid}, id})
            .empty())
        throw EHistoryStore(Kind::BadRequest, cp932::FromUtf8("履歴にない記録です: ") + std::to_string(id));
}

std::optional<std::int64_t> Store::NextUntracked(std::int64_t id) {
    auto at = db_->Query("SELECT printed_utc FROM slip_history WHERE id = $1", {id});
    if (at.empty()) return std::nullopt;
    auto rows = db_->Query("SELECT id FROM slip_history WHERE tracking IS NULL AND "
                           "(printed_utc < $1 OR (printed_utc = $1 AND id < $2)) "
                           "ORDER BY printed_utc DESC, id DESC LIMIT 1",
                           {ToInt(at[0][0]), id});
    if (rows.empty()) return std::nullopt;
    return ToInt(rows[0][0]);
}

bool Store::HasOrder(const std::string& order) {
    if (order.empty()) return false;
    return !db_->Query("SELECT 1 FROM slip_history WHERE order_ref = $1 LIMIT 1", {cp932::ToUtf8(order)})
                .empty();
}

std::unordered_set<std::string> Store::PrintedOrders(const std::vector<std::string>& orders) {
    constexpr std::size_t kBatch = 1000; // far below both databases' limits on parameters
    std::unordered_set<std::string> printed;
    for (std::size_t at = 0; at < orders.size(); at += kBatch) {
        std::string sql = "SELECT DISTINCT order_ref FROM slip_history WHERE order_ref IN (";
        std::vector<SqlParam> params;
        for (std::size_t i = at; i < std::min(orders.size(), at + kBatch); ++i) {
            if (!params.empty()) sql += ',';
            params.emplace_back(cp932::ToUtf8(orders[i]));
            sql += "$" + std::to_string(params.size());
        }
        for (const SqlRow& row : db_->Query(sql + ")", params))
            printed.insert(Cp(row[0]));
    }
    return printed;
}

std::vector<HistoryRecord> Store::ByShipDay(const std::string& from, const std::string& to) {
    std::string where;
    std::vector<SqlParam> params;
    for (const auto& [day, condition] : {std::pair{&from, " >= $"}, {&to, " <= $"}}) {
        if (day->empty()) continue;
        params.emplace_back(DayOrThrow(*day));
        where += (where.empty() ? " WHERE ship_day" : " AND ship_day") + std::string(condition) +
                 std::to_string(params.size());
    }
    std::vector<HistoryRecord> out;
    for (const SqlRow& row : db_->Query("SELECT " + columns::SelectList() + " FROM slip_history" + where +
                                            " ORDER BY printed_utc, id",
                                        params))
        out.push_back(columns::ReadRow(row));
    return out;
}

StoreLocation LocationFromSettings(const ProfileFile& settings, const std::string& dir) {
    auto read = [&](const char* key) {
        return cp932::ToUtf8(cp932::PlainTrim(settings.ReadString(kHistorySection, key, "")));
    };
    StoreLocation loc;
    std::string server = read("Server");
    if (server.empty()) {
        loc.sqlitePath = fileio::JoinPath(dir, kDatabaseFileName);
        return loc;
    }
    loc.postgres.emplace_back("host", server);
    for (auto [key, keyword] : {std::pair{"Port", "port"}, {"Database", "dbname"}, {"User", "user"}}) {
        std::string value = read(key);
        if (!value.empty()) loc.postgres.emplace_back(keyword, value);
    }
    return loc;
}

StoreLocation LocationFromArgument(const std::string& arg) {
    StoreLocation loc;
    if (arg.rfind("postgresql://", 0) == 0 || arg.rfind("postgres://", 0) == 0)
        loc.postgres.emplace_back("dbname", arg);
    else
        loc.sqlitePath = arg;
    return loc;
}

std::unique_ptr<Store> OpenStore(const StoreLocation& location) {
    if (location.IsPostgres()) return std::make_unique<Store>(OpenPostgres(location.postgres));
    return std::make_unique<Store>(OpenSqlite(location.sqlitePath));
}

} // namespace history
