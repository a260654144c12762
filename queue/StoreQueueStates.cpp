#include "queue/StoreQueueStates.h"

#include "orders/StoredOrder.h"

#include <ctime>

namespace queue {
namespace {

orders::OrderState StateOf(history::QueueState s) {
    switch (s) {
    case history::QueueState::Open:
        return orders::OrderState::Open;
    case history::QueueState::Claimed:
        return orders::OrderState::Claimed;
    case history::QueueState::Held:
        return orders::OrderState::Held;
    case history::QueueState::Printed:
        return orders::OrderState::Printed;
    case history::QueueState::Cancelled:
        return orders::OrderState::Cancelled;
    }
    return orders::OrderState::Open;
}

} // namespace

QueueSnapshot ReadSnapshot(history::QueueStore& queue, const SnapshotRequest& request) {
    QueueSnapshot s;
    s.generation = request.generation;
    s.added = queue.Read(request.to, request.since);
    if (request.to > 0) s.states = queue.States(request.from, request.to, request.since);
    return s;
}

std::vector<history::NewQueueEntry> NewEntries(const std::vector<orders::Order>& orders,
                                               const std::vector<orders::OrderState>& start,
                                               const std::unordered_set<std::string>& known) {
    const std::vector<std::string> keys = orders::OrderKeys(orders);
    std::vector<history::NewQueueEntry> entries;
    entries.reserve(orders.size());
    for (std::size_t i = 0; i < orders.size(); ++i)
        if (!known.contains(keys[i]))
            entries.push_back({keys[i], std::string(orders::PlatformName(orders[i].platform)), orders[i].ref,
                               orders::OrderToText(orders[i]), start.at(i) == orders::OrderState::Held});
    return entries;
}

StoreQueueStates::StoreQueueStates(history::StoreLocation location, std::string desk)
    : location_(std::move(location)), desk_(std::move(desk)), since_(std::time(nullptr) - kShownAfterDone) {}

StoreQueueStates::~StoreQueueStates() = default;

history::QueueStore& StoreQueueStates::Queue() {
    if (!queue_) {
        store_ = history::OpenStore(location_);
        queue_ = std::make_unique<history::QueueStore>(*store_, true);
        if (lost_) {
            // The claims ended with the connection given up: those no other desk took are this desk's
            // again, so that a slip printed meanwhile is not printed on another desk too.
            std::vector<std::int64_t> back = queue_->Retake(desk_);
            claimed_ = {back.begin(), back.end()};
            lost_ = false;
        }
    }
    return *queue_;
}

void StoreQueueStates::Lose(const std::string& why) {
    trouble_ = why;
    queue_.reset();
    store_.reset();
    lost_ = lost_ || !claimed_.empty();
    ++generation_;
}

template <class F>
bool StoreQueueStates::Reach(F&& work) {
    // A connection that broke since its last use (the server restarted) is made afresh once at once.
    for (;;) {
        const bool fresh = !queue_;
        try {
            work(Queue());
            trouble_.clear();
            return true;
        } catch (const history::EHistoryStore& e) {
            if (e.GetKind() != history::EHistoryStore::Kind::Unavailable) throw;
            Lose(e.Message());
            if (fresh) return false;
        }
    }
}

orders::ImportCount StoreQueueStates::Import(std::vector<orders::Order> orders,
                                             std::vector<orders::OrderState> start) {
    // An export imported again is mostly known: only what the queue has not is made into text.
    history::QueueStore::Added added;
    std::size_t known = 0;
    if (!Reach([&](history::QueueStore& q) {
            const std::unordered_set<std::string> have = q.Known(orders::OrderKeys(orders));
            const std::vector<history::NewQueueEntry> entries = NewEntries(orders, start, have);
            known = orders.size() - entries.size();
            added = q.Add(entries);
        }))
        throw history::EHistoryStore(history::EHistoryStore::Kind::Unavailable, trouble_);
    return {added.added, added.already + known, false};
}

bool StoreQueueStates::ClaimsWork() {
    return Reach([](history::QueueStore& q) { q.CheckClaims(); });
}

SnapshotRequest StoreQueueStates::NextRequest() const {
    SnapshotRequest r;
    if (!ids_.empty()) {
        r.from = ids_.front();
        r.to = ids_.back();
    }
    r.since = since_;
    r.generation = generation_;
    return r;
}

orders::QueueRow StoreQueueStates::RowOf(const history::QueueEntry& e) {
    orders::QueueRow row;
    row.state = StateOf(e.state);
    row.desk = e.desk;
    // Read on another connection, this desk's own claims are known by what it claimed.
    row.mine =
        row.state == orders::OrderState::Claimed && (e.mine || (claimed_.contains(e.id) && e.desk == desk_));
    if (printedHere_.contains(e.id)) {
        if (row.state == orders::OrderState::Printed)
            printedHere_.erase(e.id);
        else
            row = {orders::OrderState::Printed, desk_, false}; // the record is on its way
    }
    return row;
}

void StoreQueueStates::Update(const history::QueueEntry& e) {
    auto at = index_.find(e.id);
    if (at == index_.end()) return;
    rows_[at->second] = RowOf(e);
    // A claim this desk no longer has (printed, by its record or another desk's) ends here too.
    if (claimed_.contains(e.id) && !printedHere_.contains(e.id) &&
        !(e.state == history::QueueState::Claimed && e.desk == desk_)) {
        claimed_.erase(e.id);
        if (queue_) queue_->Release(e.id);
    }
}

void StoreQueueStates::Apply(const QueueSnapshot& s) {
    if (s.generation != generation_) return;
    for (const history::QueueEntry& e : s.added) {
        if (index_.contains(e.id) || (!ids_.empty() && e.id < ids_.back())) continue;
        index_.emplace(e.id, orders_.size());
        ids_.push_back(e.id);
        orders_.push_back(orders::OrderFromText(e.data));
        rows_.push_back(RowOf(e));
    }
    for (const history::QueueEntry& e : s.states)
        Update(e);
    trouble_.clear();
}

bool StoreQueueStates::Refresh() {
    return Reach([&](history::QueueStore& q) { Apply(ReadSnapshot(q, NextRequest())); });
}

bool StoreQueueStates::Claim(std::size_t index) {
    ++generation_;
    const std::int64_t id = ids_.at(index);
    bool taken = false;
    Reach([&](history::QueueStore& q) {
        const history::QueueEntry e = q.Claim(id, desk_);
        taken = e.state == history::QueueState::Claimed && e.mine;
        if (taken) claimed_.insert(id);
        Update(e);
    });
    return taken;
}

void StoreQueueStates::Release(std::size_t index) {
    ++generation_;
    const std::int64_t id = ids_.at(index);
    if (!claimed_.erase(id)) return;
    if (Reach([&](history::QueueStore& q) { q.Release(id); })) rows_.at(index) = {};
}

bool StoreQueueStates::SetHeld(std::size_t index, bool held) {
    ++generation_;
    const std::int64_t id = ids_.at(index);
    bool done = false;
    Reach([&](history::QueueStore& q) {
        done = q.SetHeld(id, held);
        if (done) claimed_.erase(id);
        if (auto e = q.Get(id)) Update(*e);
    });
    return done;
}

bool StoreQueueStates::SetCancelled(std::size_t index, bool cancelled) {
    ++generation_;
    const std::int64_t id = ids_.at(index);
    bool done = false;
    Reach([&](history::QueueStore& q) {
        done = q.SetCancelled(id, cancelled);
        if (done) claimed_.erase(id);
        if (auto e = q.Get(id)) Update(*e);
    });
    return done;
}

void StoreQueueStates::Printed(std::size_t index) {
    ++generation_;
    printedHere_.insert(ids_.at(index));
    rows_.at(index) = {orders::OrderState::Printed, desk_, false};
}

} // namespace queue
