#include "orders/OrderQueue.h"

#include <algorithm>

namespace orders {

OrderQueue::OrderQueue(std::unique_ptr<QueueStates> states) : states_(std::move(states)) {
    states_->Reset({});
}

bool OrderQueue::Reset(std::vector<Order> orders, PrintedRecord* record) {
    orders_ = std::move(orders);
    current_.reset();
    run_.reset();
    lastEnd_.reset();
    lastDone_ = 0;
    printedBefore_.assign(orders_.size(), false);

    bool asked = true;
    if (record) {
        std::vector<std::string> refs;
        std::unordered_set<std::string> seen;
        for (const Order& o : orders_)
            if (!o.ref.empty() && seen.insert(o.ref).second) refs.push_back(o.ref);
        std::optional<std::unordered_set<std::string>> printed;
        if (!refs.empty()) printed = record->PrintedAmong(refs);
        asked = refs.empty() || printed.has_value();
        if (printed)
            for (std::size_t i = 0; i < orders_.size(); ++i)
                if (!orders_[i].ref.empty() && printed->contains(orders_[i].ref)) {
                    printedBefore_[i] = true;
                    orders_[i].warnings.push_back({Severity::Problem, std::string(kPrintedBeforeWarning)});
                }
    }
    std::vector<OrderState> start(orders_.size(), OrderState::Open);
    for (std::size_t i = 0; i < orders_.size(); ++i)
        if (printedBefore_[i] || orders_[i].heldForCheck) start[i] = OrderState::Held;
    states_->Reset(std::move(start));
    return asked;
}

QueueCounts OrderQueue::Counts() const {
    QueueCounts c;
    for (std::size_t i = 0; i < orders_.size(); ++i) {
        switch (State(i)) {
        case OrderState::Open:
            ++c.open;
            break;
        case OrderState::Held:
            ++c.held;
            break;
        case OrderState::Printed:
            ++c.printed;
            continue;
        }
        c.problems += orders_[i].HasProblem();
    }
    return c;
}

bool OrderQueue::PrintedBefore(std::size_t index, PrintedRecord* record) const {
    if (State(index) == OrderState::Printed || printedBefore_.at(index)) return true;
    const std::string& ref = orders_.at(index).ref;
    if (ref.empty() || !record) return false;
    auto printed = record->PrintedAmong({ref});
    return printed && printed->contains(ref);
}

void OrderQueue::Load(std::size_t index) {
    (void)orders_.at(index);
    current_ = index;
}

bool OrderQueue::ToggleHold(std::size_t index) {
    switch (State(index)) {
    case OrderState::Open:
        states_->Set(index, OrderState::Held);
        return true;
    case OrderState::Held:
        states_->Set(index, OrderState::Open);
        return true;
    case OrderState::Printed:
        break;
    }
    return false;
}

std::optional<std::size_t> OrderQueue::CurrentPrinted() {
    if (!current_) return std::nullopt;
    states_->Set(*current_, OrderState::Printed);
    if (run_) ++run_->done;
    return NextOpen(current_);
}

std::optional<std::size_t> OrderQueue::NextOpen(std::optional<std::size_t> after) const {
    const std::size_t n = orders_.size();
    for (std::size_t step = 1; step <= n; ++step) {
        const std::size_t i = after ? (*after + step) % n : step - 1;
        if (State(i) == OrderState::Open) return i;
    }
    return std::nullopt;
}

bool OrderQueue::Runnable(std::size_t index) const {
    return State(index) == OrderState::Open && !orders_[index].needsAmount;
}

OrderQueue::RunPlan OrderQueue::PlanRun() const {
    RunPlan plan;
    auto add = [&](std::size_t i) {
        plan.orders.push_back(i);
        if (orders_[i].HasProblem()) plan.problems.push_back(i);
    };
    if (current_ && Runnable(*current_)) add(*current_);
    const std::size_t n = orders_.size();
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
    // What was printed by hand or held since the plan was made is passed over.
    while (run_->next < run_->plan.orders.size() && !Runnable(run_->plan.orders[run_->next]))
        ++run_->next;
    if (run_->next >= run_->plan.orders.size()) {
        EndRun(RunEnd::Finished);
        return std::nullopt;
    }
    current_ = run_->plan.orders[run_->next++];
    return current_;
}

void OrderQueue::EndRun(RunEnd why) {
    if (!run_) return;
    lastDone_ = run_->done;
    lastEnd_ = why;
    run_.reset();
}

} // namespace orders
