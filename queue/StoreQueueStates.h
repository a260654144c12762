#pragma once
// The order queue the desks of a packing room share (history/QueueStore.h), as orders::OrderQueue sees
// it: the orders it shows, in the store's order, with every state as the store has it. An order this
// desk works on is claimed on this desk's connection first; a claim ends with the connection, so a desk
// that dies gives its orders back.
//
// When the store cannot be reached, what was shown stays, Trouble says why, and only the orders this
// desk had claimed can be loaded; the slips printed meanwhile wait in the pending file with their order
// (history::QueueMark) and mark it printed once they go in. The next call connects afresh and takes
// back this desk's claims that no other desk took meanwhile.
//
// A window that reads on another thread asks NextRequest here, reads with ReadSnapshot on a connection
// of that thread's own, and hands the answer to Apply on this one.
#include "history/QueueStore.h"
#include "orders/OrderQueue.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace queue {

// What the desk shows of the queue, and what to read next.
struct SnapshotRequest {
    std::int64_t from = 0, to = 0; // the ids shown, oldest and newest; 0 while none is
    std::int64_t since = 0;        // orders done with before this (seconds since 1970) are not shown
    std::uint64_t generation = 0;  // which state of the desk the request was made in
};

struct QueueSnapshot {
    std::vector<history::QueueEntry> added;  // orders after `to`, with their data
    std::vector<history::QueueEntry> states; // the states of those from `from` to `to`
    std::uint64_t generation = 0;
};

QueueSnapshot ReadSnapshot(history::QueueStore& queue, const SnapshotRequest& request);

// The orders of an import as the store takes them, each with the state it starts in (Open or Held),
// but those whose key is in `known`.
std::vector<history::NewQueueEntry> NewEntries(const std::vector<orders::Order>& orders,
                                               const std::vector<orders::OrderState>& start,
                                               const std::unordered_set<std::string>& known = {});

// How long an order stays shown after it was printed or cancelled (seconds).
inline constexpr std::int64_t kShownAfterDone = 24 * 60 * 60;

class StoreQueueStates final : public orders::QueueStates {
public:
    // `desk`: this desk's name (CP932). The store is opened on first use.
    StoreQueueStates(history::StoreLocation location, std::string desk);
    ~StoreQueueStates() override;

    // Adds the orders the queue does not have yet; they show after the next Refresh. Raises
    // EHistoryStore when the store cannot take them (nothing is added then).
    orders::ImportCount Import(std::vector<orders::Order> orders,
                               std::vector<orders::OrderState> start) override;
    bool Refresh() override;
    std::size_t Count() const override { return orders_.size(); }
    const orders::Order& At(std::size_t index) const override { return orders_.at(index); }
    const orders::QueueRow& Row(std::size_t index) const override { return rows_.at(index); }
    bool Claim(std::size_t index) override;
    void Release(std::size_t index) override;
    bool SetHeld(std::size_t index, bool held) override;
    bool SetCancelled(std::size_t index, bool cancelled) override;
    void Printed(std::size_t index) override;
    const std::string& Trouble() const override { return trouble_; }

    // Whether this desk can take claims on the store at all; Trouble says why not.
    bool ClaimsWork();

    SnapshotRequest NextRequest() const;
    // An answer to a request made before a change here is passed over: the next one brings it.
    void Apply(const QueueSnapshot& snapshot);
    // A read on the other thread failed (CP932).
    void ReadFailed(const std::string& why) { trouble_ = why; }

    const std::string& Desk() const { return desk_; }
    // The store's id of the order: what its slip's QueueMark names.
    std::int64_t IdAt(std::size_t index) const { return ids_.at(index); }

private:
    history::QueueStore& Queue();
    // Runs `work` on the store. A store that cannot be reached is given up until the next call: false,
    // and Trouble says why.
    template <class F>
    bool Reach(F&& work);
    void Lose(const std::string& why);
    orders::QueueRow RowOf(const history::QueueEntry& entry);
    void Update(const history::QueueEntry& entry);

    history::StoreLocation location_;
    std::string desk_;
    std::unique_ptr<history::Store> store_;
    std::unique_ptr<history::QueueStore> queue_; // on store_'s connection: this desk's claims
    std::vector<orders::Order> orders_;
    std::vector<orders::QueueRow> rows_;
    std::vector<std::int64_t> ids_;
    std::unordered_map<std::int64_t, std::size_t> index_;
    std::unordered_set<std::int64_t> claimed_;     // claimed here
    std::unordered_set<std::int64_t> printedHere_; // printed here; the store learns it from the record
    std::int64_t since_;
    std::string trouble_;
    std::uint64_t generation_ = 0;
    bool lost_ = false; // the connection was given up with claims on it
};

} // namespace queue
