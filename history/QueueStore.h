#pragma once
// The order queue several desks share, kept beside the history in the same database (table
// order_queue, docs/history.md): the orders imported from order files, each open, claimed by a desk,
// held, printed (with the record of its slip) or cancelled.
//
// A claim belongs to the connection that made it: it holds the database's lock on the order
// (SqlDb::TryLock) for as long as the connection lives. A desk whose program dies or whose connection
// drops gives its orders up at once; only after the server itself restarted do the claims made before
// it stay with their desks for a while (kRestartGrace), so that a desk that printed while the server
// was away comes back to record its slips before another desk takes those orders.
//
// The orders themselves are opaque here: a key that makes an order the same one on the next import,
// and its text (orders/StoredOrder.h); this layer only keeps them and their states.
//
//   history::QueueStore queue(store);                   // on the store's connection
//   queue.Add(entries)                                   // an import; nothing twice
//   auto e = queue.ClaimNext(desk)                       // the next open order, or nullopt
//   queue.Done(e->id, desk, record)                      // its slip recorded, the order printed
// A slip recorded through the Recorder with record.queue set marks its order printed as well
// (HistoryStore.h), more leniently: the slip is on paper already.
#include "history/HistoryRecord.h"
#include "history/HistoryStore.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace history {

enum class QueueState { Open, Claimed, Held, Printed, Cancelled };

// How long after a server's start the claims made before it are kept for their desks (seconds).
inline constexpr std::int64_t kRestartGrace = 60;

struct NewQueueEntry {
    std::string key;           // UTF-8; the same order imported again has the same key
    std::string platform, ref; // UTF-8, for people reading the table
    std::string data;          // UTF-8: the order as text
    bool held = false;         // starts held
};

// One order of the queue. A claim whose connection has ended reads as Open (or, while the grace after
// a restart lasts, as Claimed by its desk).
struct QueueEntry {
    std::int64_t id = 0;
    QueueState state = QueueState::Open;
    std::string desk;        // CP932: the desk holding the claim, or that printed the order
    bool mine = false;       // claimed on this connection
    std::int64_t record = 0; // Printed: the id of its slip in slip_history (0 when a replay lost it)
    std::string data;        // UTF-8; only where the call says so
};

struct QueueCounts {
    std::size_t open = 0, claimed = 0, held = 0, printed = 0, cancelled = 0;
};

class QueueStore {
public:
    // On the store's connection: the claims made here end with it. `light`: its commits need not be
    // on the disk when they return (SqlDb::LightCommits), for a desk's claims and holds; never where
    // Done records slips.
    explicit QueueStore(Store& store, bool light = false);
    ~QueueStore();

    // Adds, in one transaction, the entries whose key the queue does not have yet; the others are left
    // as they are, whatever their state.
    struct Added {
        std::size_t added = 0, already = 0;
    };
    Added Add(const std::vector<NewQueueEntry>& entries);
    // Of these keys, those the queue has.
    std::unordered_set<std::string> Known(const std::vector<std::string>& keys);

    // With their data: the orders after id `after` that are not done with (open, claimed, held) or
    // whose state changed at or after `since` (seconds since 1970), oldest first.
    std::vector<QueueEntry> Read(std::int64_t after, std::int64_t since);
    // Without data: the state of the orders from id `from` to `to` that Read would give with `since`.
    std::vector<QueueEntry> States(std::int64_t from, std::int64_t to, std::int64_t since);
    // One order with its data; nullopt when the queue has no such id.
    std::optional<QueueEntry> Get(std::int64_t id);

    // Claims the first open order (by id) for `desk` (CP932); nullopt when none is left. Orders whose
    // claim has ended are open again.
    std::optional<QueueEntry> ClaimNext(const std::string& desk);
    // Claims this order, chosen by hand. The entry returned says what it is now: Claimed and mine when
    // it was taken; otherwise what stood in the way (another desk's claim, held, printed, cancelled).
    QueueEntry Claim(std::int64_t id, const std::string& desk);
    // Gives back an order this connection holds: open again. Nothing for an order it does not hold.
    void Release(std::int64_t id);
    // Claims of `desk` whose connection ended (this desk's program before it reconnected): taken on
    // this connection where no other desk took them meanwhile. Returns their ids.
    std::vector<std::int64_t> Retake(const std::string& desk);

    // Holds an order that is open (or claimed here) or lets a held one go; cancels one that is open or
    // held, or opens a cancelled one again. False when its state allows neither.
    bool SetHeld(std::int64_t id, bool held);
    bool SetCancelled(std::int64_t id, bool cancelled);

    // Records the slip and marks the order printed by it, in one transaction, when the order is claimed
    // by `desk` (CP932) and its claim is live (on this connection or another of the same desk).
    // Returns the record's id. EHistoryStore (BadRequest) with the reason when the claim is not
    // `desk`'s, has ended, or the order is printed or cancelled; nothing is written then.
    std::int64_t Done(std::int64_t id, const std::string& desk, HistoryRecord record);

    QueueCounts Count();
    // Raises EHistoryStore (Unavailable) when this connection cannot take claims at all (an SQLite file
    // in a folder that cannot be written).
    void CheckClaims();

private:
    QueueEntry Entry(const SqlRow& row, const std::unordered_set<std::int64_t>& live, bool withData) const;
    // The rows as entries, each claim checked for being live.
    std::vector<QueueEntry> Entries(const std::vector<SqlRow>& rows, bool withData);
    // Claims the order of `row` if it is still as the row says; nullopt when someone was first.
    std::optional<QueueEntry> Take(const SqlRow& row, const std::string& desk);

    Store& store_;
    SqlDb& db_;
    std::unordered_set<std::int64_t> claims_; // the orders claimed on this connection
};

// "open", "claimed", "held", "printed", "cancelled": the words the table keeps.
const char* QueueStateName(QueueState state);

} // namespace history
