#include "history/QueueStore.h"

#include "history/QueueTable-private.h"
#include "history/StoreColumns-private.h"
#include "history/Transaction-private.h"
#include "platform/Cp932Codec.h"

#include <algorithm>

namespace history {
namespace {

using Kind = EHistoryStore::Kind;
using columns::Cp;
using columns::ToInt;

// Orders looked at per query when looking for the next one to claim.
constexpr std::int64_t kCandidates = 16;
// Orders added per statement.
constexpr std::size_t kAddBatch = 100;

// What Entry reads, in this order; the data last, when asked for.
enum Column { kId, kState, kDesk, kSession, kRecord, kClaimedMs, kNowMs, kData };

std::string Columns(const SqlDb& db, bool withData) {
    return std::string("id, state, desk, claim_session, record_id, claimed_ms, ") + db.NowMilliseconds() +
           (withData ? ", data" : "");
}

QueueState StateOf(const std::optional<std::string>& v) {
    for (QueueState s : {QueueState::Open, QueueState::Claimed, QueueState::Held, QueueState::Printed,
                         QueueState::Cancelled})
        if (v && *v == QueueStateName(s)) return s;
    throw EHistoryStore(Kind::Foreign, cp932::FromUtf8("order_queue: 知らない状態 ") + v.value_or("NULL"));
}

std::string Utf8(const std::string& cp) {
    return cp932::ToUtf8(cp);
}

EHistoryStore Refusal(std::int64_t id, const std::string& why) {
    return EHistoryStore(Kind::BadRequest, cp932::FromUtf8("注文 No." + std::to_string(id) + " " + why));
}

} // namespace

const char* QueueStateName(QueueState state) {
    switch (state) {
    case QueueState::Open:
        return "open";
    case QueueState::Claimed:
        return "claimed";
    case QueueState::Held:
        return "held";
    case QueueState::Printed:
        return "printed";
    case QueueState::Cancelled:
        return "cancelled";
    }
    return "open";
}

namespace queue_table {

// Version 4. The state index finds the orders still to do, however long the table grows; the time of
// the last change finds what a desk shows besides them (the day's printed orders).
std::string SchemaStep(const SqlDb& db) {
    return "CREATE TABLE order_queue (\n"
           "    id " +
           std::string(db.IdColumnType()) +
           ",\n"
           "    order_key TEXT NOT NULL UNIQUE,\n"
           "    platform TEXT NOT NULL,\n"
           "    order_ref TEXT NOT NULL,\n"
           "    data TEXT NOT NULL,\n"
           "    state TEXT NOT NULL CHECK (state IN ('open', 'claimed', 'held', 'printed', 'cancelled')),\n"
           "    desk TEXT,\n"
           "    claim_session TEXT,\n"
           "    claimed_ms BIGINT,\n"
           "    record_id BIGINT REFERENCES slip_history (id),\n"
           "    imported_utc BIGINT NOT NULL,\n"
           "    changed_utc BIGINT NOT NULL\n"
           ");\n"
           "CREATE INDEX order_queue_state ON order_queue (state, id);\n"
           "CREATE INDEX order_queue_changed ON order_queue (changed_utc)";
}

std::string MarkPrinted(SqlDb& db, const QueueMark& mark, std::int64_t recordId) {
    if (!db.Query(
               "UPDATE order_queue SET state = 'printed', record_id = $1, desk = $2, claim_session = NULL, "
               "changed_utc = " +
                   std::string(db.NowSeconds()) +
                   " WHERE id = $3 AND state NOT IN ('printed', 'cancelled') RETURNING id",
               {recordId, Utf8(mark.desk), mark.order})
             .empty())
        return "";
    auto rows =
        db.Query("SELECT state, record_id, desk, order_ref FROM order_queue WHERE id = $1", {mark.order});
    const std::string slip = "（履歴 No." + std::to_string(recordId) + "）";
    if (rows.empty())
        return cp932::FromUtf8("共有の注文一覧に注文 No." + std::to_string(mark.order) +
                               " がありません。送り状" + slip + "は記録しました");
    if (ToInt(rows[0][1]) == recordId) return ""; // this very slip, stored by an earlier try
    // The order keeps its first slip; this one is kept too, marked void, so no list ships it twice.
    db.Query("UPDATE slip_history SET void = 1 WHERE id = $1 RETURNING id", {recordId});
    const std::string ref = "注文「" + rows[0][3].value_or("") + "」";
    if (StateOf(rows[0][0]) == QueueState::Cancelled)
        return cp932::FromUtf8(ref + "は取り消されていました。印刷した送り状" + slip +
                               "は無効にしました。送り状を確かめてください");
    return cp932::FromUtf8(ref + "は作業台「" + rows[0][2].value_or("") + "」で印刷済みでした（履歴 No." +
                           std::to_string(ToInt(rows[0][1])) + "）。この送り状" + slip +
                           "は二重のため無効にしました。取りのけてください");
}

} // namespace queue_table

QueueStore::QueueStore(Store& store, bool light) : store_(store), db_(*store.db_) {
    if (light) db_.LightCommits();
}

std::unordered_set<std::string> QueueStore::Known(const std::vector<std::string>& keys) {
    std::unordered_set<std::string> known;
    for (std::size_t at = 0; at < keys.size(); at += kAddBatch * 5) {
        std::string sql = "SELECT order_key FROM order_queue WHERE order_key IN (";
        std::vector<SqlParam> params;
        for (std::size_t i = at; i < std::min(keys.size(), at + kAddBatch * 5); ++i) {
            sql += params.empty() ? "$" : ", $";
            params.emplace_back(keys[i]);
            sql += std::to_string(params.size());
        }
        for (const SqlRow& row : db_.Query(sql + ")", params))
            known.insert(row.at(0).value_or(""));
    }
    return known;
}

QueueStore::~QueueStore() = default;

QueueStore::Added QueueStore::Add(const std::vector<NewQueueEntry>& entries) {
    db_.BeginWrite();
    return Committed(db_, [&] {
        Added added;
        for (std::size_t at = 0; at < entries.size(); at += kAddBatch) {
            std::string sql =
                "INSERT INTO order_queue (order_key, platform, order_ref, data, state, imported_utc, "
                "changed_utc) VALUES ";
            std::vector<SqlParam> params;
            const std::size_t end = std::min(entries.size(), at + kAddBatch);
            for (std::size_t i = at; i < end; ++i) {
                const NewQueueEntry& e = entries[i];
                const std::size_t n = params.size();
                sql += (i == at ? "(" : ", (");
                for (std::size_t p = 1; p <= 5; ++p)
                    sql += "$" + std::to_string(n + p) + ", ";
                sql += std::string(db_.NowSeconds()) + ", " + db_.NowSeconds() + ")";
                params.insert(params.end(),
                              {e.key, e.platform, e.ref, e.data, std::string(e.held ? "held" : "open")});
            }
            const std::size_t stored =
                db_.Query(sql + " ON CONFLICT (order_key) DO NOTHING RETURNING id", params).size();
            added.added += stored;
            added.already += end - at - stored;
        }
        return added;
    });
}

QueueEntry QueueStore::Entry(const SqlRow& row, const std::unordered_set<std::int64_t>& live,
                             bool withData) const {
    QueueEntry e;
    e.id = ToInt(row.at(kId));
    e.state = StateOf(row.at(kState));
    e.desk = Cp(row.at(kDesk));
    e.record = ToInt(row.at(kRecord));
    if (e.state == QueueState::Claimed) {
        e.mine = row.at(kSession) == db_.Session();
        if (!e.mine && !live.contains(e.id)) {
            e.state = QueueState::Open; // its connection has ended
            e.desk.clear();
        }
    }
    if (withData) e.data = row.at(kData).value_or("");
    return e;
}

std::vector<QueueEntry> QueueStore::Entries(const std::vector<SqlRow>& rows, bool withData) {
    std::vector<std::int64_t> claimed;
    for (const SqlRow& row : rows)
        if (StateOf(row.at(kState)) == QueueState::Claimed) claimed.push_back(ToInt(row.at(kId)));
    std::unordered_set<std::int64_t> live = db_.Locked(claimed);
    if (!claimed.empty()) {
        // After a restart of the server every claim's lock is gone: those made before it stay with
        // their desks for the grace.
        const std::int64_t ended = db_.SessionsEndedAt();
        for (const SqlRow& row : rows)
            if (ended > 0 && StateOf(row.at(kState)) == QueueState::Claimed &&
                ToInt(row.at(kClaimedMs)) < ended && ToInt(row.at(kNowMs)) < ended + kRestartGrace * 1000)
                live.insert(ToInt(row.at(kId)));
    }
    std::vector<QueueEntry> out;
    out.reserve(rows.size());
    for (const SqlRow& row : rows) {
        out.push_back(Entry(row, live, withData));
        // A lock kept on an order no longer claimed here (printed through another connection) ends.
        if (const QueueEntry& e = out.back(); !e.mine && claims_.erase(e.id)) db_.Unlock(e.id);
    }
    return out;
}

std::vector<QueueEntry> QueueStore::Read(std::int64_t after, std::int64_t since) {
    return Entries(
        db_.Query("SELECT " + Columns(db_, true) +
                      " FROM order_queue WHERE id > $1 AND (state IN ('open', 'claimed', 'held') OR "
                      "changed_utc >= $2) ORDER BY id",
                  {after, since}),
        true);
}

std::vector<QueueEntry> QueueStore::States(std::int64_t from, std::int64_t to, std::int64_t since) {
    return Entries(db_.Query("SELECT " + Columns(db_, false) +
                                 " FROM order_queue WHERE id >= $1 AND id <= $2 AND (state IN ('open', "
                                 "'claimed', 'held') OR changed_utc >= $3) ORDER BY id",
                             {from, to, since}),
                   false);
}

std::optional<QueueEntry> QueueStore::Get(std::int64_t id) {
    auto rows =
        Entries(db_.Query("SELECT " + Columns(db_, true) + " FROM order_queue WHERE id = $1", {id}), true);
    if (rows.empty()) return std::nullopt;
    return rows[0];
}

std::optional<QueueEntry> QueueStore::Take(const SqlRow& row, const std::string& desk) {
    const std::int64_t id = ToInt(row.at(kId));
    // The lock first: while it is held nobody else can take the order; then the state is changed only
    // if it is still what was read (open, or the same ended claim).
    if (!db_.TryLock(id)) return std::nullopt;
    try {
        auto rows = db_.Query(
            "UPDATE order_queue SET state = 'claimed', desk = $1, claim_session = $2, "
            "claimed_ms = " +
                std::string(db_.NowMilliseconds()) + ", changed_utc = " + db_.NowSeconds() +
                " WHERE id = $3 AND (state = 'open' OR (state = 'claimed' AND "
                "claim_session = $4)) RETURNING " +
                Columns(db_, true),
            {Utf8(desk), db_.Session(), id, row.at(kSession) ? SqlParam(*row.at(kSession)) : SqlParam()});
        if (rows.empty()) {
            db_.Unlock(id);
            return std::nullopt;
        }
        claims_.insert(id);
        return Entry(rows[0], {}, true);
    } catch (...) {
        try {
            db_.Unlock(id);
        } catch (const EHistoryStore&) {
            // The connection is gone, and the lock with it.
        }
        throw;
    }
}

std::optional<QueueEntry> QueueStore::ClaimNext(const std::string& desk) {
    std::int64_t after = 0;
    for (;;) {
        auto rows =
            db_.Query("SELECT " + Columns(db_, false) +
                          " FROM order_queue WHERE state IN ('open', 'claimed') AND id > $1 ORDER BY id "
                          "LIMIT " +
                          std::to_string(kCandidates),
                      {after});
        const std::vector<QueueEntry> seen = Entries(rows, false);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            after = seen[i].id;
            if (seen[i].state != QueueState::Open) continue; // another desk's, or this connection's own
            if (auto taken = Take(rows[i], desk)) return taken;
        }
        if (static_cast<std::int64_t>(rows.size()) < kCandidates) return std::nullopt;
    }
}

QueueEntry QueueStore::Claim(std::int64_t id, const std::string& desk) {
    auto rows = db_.Query("SELECT " + Columns(db_, false) + " FROM order_queue WHERE id = $1", {id});
    if (rows.empty()) throw Refusal(id, "は共有の注文一覧にありません");
    QueueEntry now = Entries(rows, false).at(0);
    const bool ours = now.state == QueueState::Claimed && !now.mine && now.desk == desk; // before a restart
    if (now.state != QueueState::Open && !ours) return now;
    if (auto taken = Take(rows[0], desk)) return *taken;
    return Entries(db_.Query("SELECT " + Columns(db_, false) + " FROM order_queue WHERE id = $1", {id}),
                   false)
        .at(0);
}

void QueueStore::Release(std::int64_t id) {
    if (!claims_.contains(id)) return;
    db_.Query("UPDATE order_queue SET state = 'open', desk = NULL, claim_session = NULL, changed_utc = " +
                  std::string(db_.NowSeconds()) +
                  " WHERE id = $1 AND state = 'claimed' AND claim_session = $2 RETURNING id",
              {id, db_.Session()});
    claims_.erase(id);
    db_.Unlock(id);
}

std::vector<std::int64_t> QueueStore::Retake(const std::string& desk) {
    auto rows =
        db_.Query("SELECT " + Columns(db_, false) +
                      " FROM order_queue WHERE state = 'claimed' AND desk = $1 AND claim_session <> $2",
                  {Utf8(desk), db_.Session()});
    const std::vector<QueueEntry> seen = Entries(rows, false);
    std::unordered_set<std::int64_t> locked;
    {
        std::vector<std::int64_t> ids;
        for (const QueueEntry& e : seen)
            ids.push_back(e.id);
        locked = db_.Locked(ids);
    }
    std::vector<std::int64_t> taken;
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (!locked.contains(seen[i].id) && Take(rows[i], desk)) taken.push_back(seen[i].id);
    return taken;
}

bool QueueStore::SetHeld(std::int64_t id, bool held) {
    if (!held)
        return !db_.Query("UPDATE order_queue SET state = 'open', changed_utc = " +
                              std::string(db_.NowSeconds()) +
                              " WHERE id = $1 AND state = 'held' RETURNING id",
                          {id})
                    .empty();
    // Under the claim's lock, so that no desk is holding it meanwhile.
    if (!db_.TryLock(id)) return false;
    const bool done = !db_.Query("UPDATE order_queue SET state = 'held', desk = NULL, claim_session = NULL, "
                                 "changed_utc = " +
                                     std::string(db_.NowSeconds()) +
                                     " WHERE id = $1 AND state IN ('open', 'claimed') RETURNING id",
                                 {id})
                           .empty();
    claims_.erase(id);
    db_.Unlock(id);
    return done;
}

bool QueueStore::SetCancelled(std::int64_t id, bool cancelled) {
    if (!cancelled)
        return !db_.Query("UPDATE order_queue SET state = 'open', changed_utc = " +
                              std::string(db_.NowSeconds()) +
                              " WHERE id = $1 AND state = 'cancelled' RETURNING id",
                          {id})
                    .empty();
    if (!db_.TryLock(id)) return false;
    const bool done =
        !db_.Query("UPDATE order_queue SET state = 'cancelled', desk = NULL, claim_session = NULL, "
                   "changed_utc = " +
                       std::string(db_.NowSeconds()) +
                       " WHERE id = $1 AND state IN ('open', 'claimed', 'held') RETURNING id",
                   {id})
             .empty();
    claims_.erase(id);
    db_.Unlock(id);
    return done;
}

std::int64_t QueueStore::Done(std::int64_t id, const std::string& desk, HistoryRecord record) {
    db_.BeginWrite();
    const std::int64_t recordId = Committed(db_, [&] {
        auto rows = db_.Query(
            "SELECT state, desk FROM order_queue WHERE id = $1" + std::string(db_.ForUpdate()), {id});
        if (rows.empty()) throw Refusal(id, "は共有の注文一覧にありません");
        const QueueState state = StateOf(rows[0][0]);
        if (state == QueueState::Printed) throw Refusal(id, "は印刷済みです");
        if (state == QueueState::Cancelled) throw Refusal(id, "は取り消されています");
        if (state != QueueState::Claimed || Cp(rows[0][1]) != desk)
            throw Refusal(id, "は作業台「" + Utf8(desk) + "」の受け持ちではありません");
        // Live: held on this connection, or on another that is still there.
        if (!claims_.contains(id) && !db_.Locked({id}).contains(id))
            throw Refusal(id, "の作業台「" + Utf8(desk) + "」の受け持ちは切れています（接続が終わりました）");
        record.queue = {id, desk};
        return store_.InsertOne(record).id;
    });
    if (claims_.erase(id)) db_.Unlock(id);
    return recordId;
}

void QueueStore::CheckClaims() {
    if (db_.TryLock(0)) db_.Unlock(0); // no order has id 0
}

QueueCounts QueueStore::Count() {
    QueueCounts c;
    for (const SqlRow& row : db_.Query("SELECT state, count(*) FROM order_queue GROUP BY state", {})) {
        const auto n = static_cast<std::size_t>(ToInt(row[1]));
        switch (StateOf(row[0])) {
        case QueueState::Open:
            c.open += n;
            break;
        case QueueState::Claimed:
            break; // below, by whether each claim is live
        case QueueState::Held:
            c.held += n;
            break;
        case QueueState::Printed:
            c.printed += n;
            break;
        case QueueState::Cancelled:
            c.cancelled += n;
            break;
        }
    }
    for (const QueueEntry& e :
         Entries(db_.Query("SELECT " + Columns(db_, false) + " FROM order_queue WHERE state = 'claimed'", {}),
                 false))
        ++(e.state == QueueState::Claimed ? c.claimed : c.open);
    return c;
}

} // namespace history
