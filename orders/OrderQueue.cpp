#include "orders/OrderQueue.h"

#include <algorithm>

namespace orders {
namespace {

bool PrintedBeforeImport(const Order& o) {
    return std::any_of(o.warnings.begin(), o.warnings.end(),
                       [](const OrderWarning& w) { return w.text == kPrintedBeforeWarning; });
}

} // namespace

ImportCount MemoryQueueStates::Import(std::vector<Order> orders, std::vector<OrderState> start) {
    orders_ = std::move(orders);
    rows_.assign(orders_.size(), {});
    for (std::size_t i = 0; i < rows_.size(); ++i)
        rows_[i].state = start.at(i);
    return {orders_.size(), 0, true};
}

bool MemoryQueueStates::SetHeld(std::size_t index, bool held) {
    OrderState& s = rows_.at(index).state;
    if (s != (held ? OrderState::Open : OrderState::Held)) return false;
    s = held ? OrderState::Held : OrderState::Open;
    return true;
}

bool MemoryQueueStates::SetCancelled(std::size_t index, bool cancelled) {
    OrderState& s = rows_.at(index).state;
    if (cancelled ? (s == OrderState::Printed || s == OrderState::Cancelled) : s != OrderState::Cancelled)
        return false;
    s = cancelled ? OrderState::Cancelled : OrderState::Open;
    return true;
}

OrderQueue::OrderQueue(std::unique_ptr<QueueStates> states) : states_(std::move(states)) {}

std::vector<OrderState> StartStates(std::vector<Order>& orders, PrintedRecord* record, bool* asked) {
    if (asked) *asked = true;
    if (record) {
        std::vector<std::string> refs;
        std::unordered_set<std::string> seen;
        for (const Order& o : orders)
            if (!o.ref.empty() && seen.insert(o.ref).second) refs.push_back(o.ref);
        std::optional<std::unordered_set<std::string>> printed;
        if (!refs.empty()) printed = record->PrintedAmong(refs);
        if (asked) *asked = refs.empty() || printed.has_value();
        if (printed)
            for (Order& o : orders)
                if (!o.ref.empty() && printed->contains(o.ref))
                    o.warnings.push_back({Severity::Problem, std::string(kPrintedBeforeWarning)});
    }
    std::vector<OrderState> start(orders.size(), OrderState::Open);
    for (std::size_t i = 0; i < orders.size(); ++i)
        if (orders[i].heldForCheck || PrintedBeforeImport(orders[i])) start[i] = OrderState::Held;
    return start;
}

bool OrderQueue::Reset(std::vector<Order> orders, PrintedRecord* record) {
    bool asked = true;
    std::vector<OrderState> start = StartStates(orders, record, &asked);
    lastImport_ = states_->Import(std::move(orders), std::move(start));
    if (lastImport_.replaced) {
        current_.reset();
        run_.reset();
        lastEnd_.reset();
        lastDone_ = 0;
    }
    return asked;
}

OrderState OrderQueue::State(std::size_t index) const {
    const QueueRow& row = Row(index);
    return row.state == OrderState::Claimed && row.mine ? OrderState::Open : row.state;
}

QueueCounts OrderQueue::Counts() const {
    QueueCounts c;
    for (std::size_t i = 0; i < Count(); ++i) {
        switch (State(i)) {
        case OrderState::Open:
            ++c.open;
            break;
        case OrderState::Claimed:
            ++c.claimed;
            break;
        case OrderState::Held:
            ++c.held;
            break;
        case OrderState::Printed:
            ++c.printed;
            continue;
        case OrderState::Cancelled:
            ++c.cancelled;
            continue;
        }
        c.problems += At(i).HasProblem();
    }
    return c;
}

bool OrderQueue::PrintedBefore(std::size_t index, PrintedRecord* record) const {
    if (State(index) == OrderState::Printed || PrintedBeforeImport(At(index))) return true;
    const std::string& ref = At(index).ref;
    if (ref.empty() || !record) return false;
    auto printed = record->PrintedAmong({ref});
    return printed && printed->contains(ref);
}

bool OrderQueue::Load(std::size_t index) {
    (void)At(index);
    if (current_ == index) return true;
    // An order that is open, or another desk's (whose claim may have ended since), is claimed first; a
    // held or printed one the user picked by hand is in no desk's way.
    const QueueRow& row = Row(index);
    const bool claim = row.state == OrderState::Open || (row.state == OrderState::Claimed && !row.mine);
    if (claim && !states_->Claim(index)) return false;
    Unload();
    current_ = index;
    return true;
}

void OrderQueue::Unload() {
    if (current_ && State(*current_) == OrderState::Open) states_->Release(*current_);
    current_.reset();
}

bool OrderQueue::ToggleHold(std::size_t index) {
    switch (State(index)) {
    case OrderState::Open:
        return states_->SetHeld(index, true);
    case OrderState::Held:
        return states_->SetHeld(index, false);
    default:
        return false;
    }
}

bool OrderQueue::ToggleCancel(std::size_t index) {
    const OrderState state = State(index);
    if (state == OrderState::Printed || state == OrderState::Claimed) return false;
    return states_->SetCancelled(index, state != OrderState::Cancelled);
}

std::optional<std::size_t> OrderQueue::CurrentPrinted() {
    if (!current_) return std::nullopt;
    states_->Printed(*current_);
    if (run_) ++run_->done;
    return NextOpen(current_);
}

std::optional<std::size_t> OrderQueue::NextOpen(std::optional<std::size_t> after) const {
    const std::size_t n = Count();
    for (std::size_t step = 1; step <= n; ++step) {
        const std::size_t i = after ? (*after + step) % n : step - 1;
        if (State(i) == OrderState::Open) return i;
    }
    return std::nullopt;
}

std::optional<std::size_t> OrderQueue::LoadNextOpen(std::optional<std::size_t> after) {
    // Each order another desk was first to is passed over; each is tried once.
    for (std::size_t tries = 0; tries < Count(); ++tries) {
        const std::optional<std::size_t> next = NextOpen(after);
        if (!next) return std::nullopt;
        if (Load(*next)) return next;
        if (!Trouble().empty()) return std::nullopt; // the shared queue cannot be reached
        after = next;
    }
    return std::nullopt;
}

bool OrderQueue::Runnable(std::size_t index) const {
    return State(index) == OrderState::Open && !At(index).needsAmount;
}

OrderQueue::RunPlan OrderQueue::PlanRun() const {
    RunPlan plan;
    auto add = [&](std::size_t i) {
        plan.orders.push_back(i);
        if (At(i).HasProblem()) plan.problems.push_back(i);
    };
    if (current_ && Runnable(*current_)) add(*current_);
    const std::size_t n = Count();
    for (std::size_t step = 1; step <= n; ++step) {
        const std::size_t i = current_ ? (*current_ + step) % n : step - 1;
        if (i != current_ && Runnable(i)) add(i);
    }
    return plan;
}

void OrderQueue::StartRun(RunPlan plan) {
    run_ = Run{std::move(plan)};
    lastEnd_.reset();
    lastDone_ = 0;
}

void OrderQueue::StopRun() {
    if (run_) run_->stop = true;
}

std::optional<std::size_t> OrderQueue::RunNext() {
    if (!run_) return std::nullopt;
    if (run_->stop) {
        EndRun(RunEnd::Stopped);
        return std::nullopt;
    }
    // What was printed by hand, held or taken by another desk since the plan was made is passed over.
    while (run_->next < run_->plan.orders.size()) {
        const std::size_t i = run_->plan.orders[run_->next++];
        if (Runnable(i) && Load(i)) return i;
        if (!Trouble().empty()) {
            EndRun(RunEnd::Failed); // the shared queue cannot be reached: nothing more can be claimed
            return std::nullopt;
        }
    }
    EndRun(RunEnd::Finished);
    return std::nullopt;
}

void OrderQueue::EndRun(RunEnd why) {
    if (!run_) return;
    lastDone_ = run_->done;
    lastEnd_ = why;
    run_.reset();
}

} // namespace orders
