#pragma once
// The order queue (F8) without its window: the orders of one file, each open, held or printed; the
// one in the main window; the next open one after a printed slip; the counts; the run of
// 「残りをすべて印刷」; and "printed before" against the record of earlier prints. The window only shows
// this and sends it what the user and the printer did.
//
// Where the states live is behind QueueStates, one call per transition, so that a store several desks
// share can keep them instead of this process's memory.
#include "orders/Orders.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace orders {

enum class OrderState { Open, Held, Printed };

// Each order's state, by its index in the queue.
class QueueStates {
public:
    virtual ~QueueStates() = default;
    // A new batch: one state per order, as it starts.
    virtual void Reset(std::vector<OrderState> start) = 0;
    virtual OrderState Get(std::size_t index) const = 0;
    virtual void Set(std::size_t index, OrderState state) = 0;
};

// The states of one desk, in memory.
class MemoryQueueStates final : public QueueStates {
public:
    void Reset(std::vector<OrderState> start) override { states_ = std::move(start); }
    OrderState Get(std::size_t index) const override { return states_.at(index); }
    void Set(std::size_t index, OrderState state) override { states_.at(index) = state; }

private:
    std::vector<OrderState> states_;
};

// The record of slips printed before (the history).
class PrintedRecord {
public:
    virtual ~PrintedRecord() = default;
    // Of these order references (UTF-8), those a slip has been printed for: one question for the whole
    // batch. nullopt when the record cannot be reached; then only this session's prints are known.
    virtual std::optional<std::unordered_set<std::string>>
    PrintedAmong(const std::vector<std::string>& refs) = 0;
};

struct QueueCounts {
    std::size_t open = 0, held = 0, printed = 0;
    std::size_t problems = 0; // orders not yet printed with a problem among their warnings
};

// How a run of 「残りをすべて印刷」 ended.
enum class RunEnd { Finished, Stopped, Failed };

class OrderQueue {
public:
    explicit OrderQueue(std::unique_ptr<QueueStates> states = std::make_unique<MemoryQueueStates>());

    // Replaces the orders and forgets the current one and any run. Orders the record has printed
    // start held, with a problem; so do the orders the import held for a check. False when the record
    // could not be asked (`record` may be null: nothing to ask).
    bool Reset(std::vector<Order> orders, PrintedRecord* record);

    std::size_t Count() const { return orders_.size(); }
    const Order& At(std::size_t index) const { return orders_.at(index); }
    OrderState State(std::size_t index) const { return states_->Get(index); }
    QueueCounts Counts() const;
    std::optional<std::size_t> Current() const { return current_; }

    // Whether loading the order asks first: it was printed in this session, the record had it at
    // import, or the record has it now (another desk may have printed it since).
    bool PrintedBefore(std::size_t index, PrintedRecord* record) const;

    // The order is in the main window now.
    void Load(std::size_t index);
    // The main window no longer shows an order of this queue (cleared, or another one loaded).
    void Unload() { current_.reset(); }
    // Holds an open order or releases a held one; a printed order stays printed (false).
    bool ToggleHold(std::size_t index);

    // The slip of the current order was accepted by the printer: the order is printed. Returns the
    // next open order after it, wrapping round (not yet loaded); nullopt when none is left.
    std::optional<std::size_t> CurrentPrinted();
    // The first open order after `after` (from the start when nullopt), wrapping round.
    std::optional<std::size_t> NextOpen(std::optional<std::size_t> after) const;

    // What 「残りをすべて印刷」 would print, in order: the current order when it is open (the user may
    // have corrected it), then every other open one. Orders that need an amount typed are never
    // among them. `problems` lists those with a problem, which the user is asked about first.
    struct RunPlan {
        std::vector<std::size_t> orders;
        std::vector<std::size_t> problems;
    };
    RunPlan PlanRun() const;

    void StartRun(RunPlan plan);
    bool Running() const { return run_.has_value(); }
    std::size_t RunDone() const { return run_ ? run_->done : lastDone_; }
    std::size_t RunTotal() const { return run_ ? run_->plan.orders.size() : 0; }
    // The run stops before its next slip.
    void StopRun();
    // The next order the run prints, made current; nullopt when the run is over (a stop was asked for,
    // or nothing of the plan is open any more), and LastRunEnd() says why.
    std::optional<std::size_t> RunNext();
    // Ends the run at once: the last job failed or the order lost its link to the window.
    void EndRun(RunEnd why);
    std::optional<RunEnd> LastRunEnd() const { return lastEnd_; }

private:
    struct Run {
        RunPlan plan;
        std::size_t next = 0, done = 0;
        bool stop = false;
    };
    bool Runnable(std::size_t index) const;

    std::unique_ptr<QueueStates> states_;
    std::vector<Order> orders_;
    std::vector<bool> printedBefore_; // the record had it at import
    std::optional<std::size_t> current_;
    std::optional<Run> run_;
    std::optional<RunEnd> lastEnd_;
    std::size_t lastDone_ = 0;
};

// The warning an order printed before gets at import.
inline constexpr std::string_view kPrintedBeforeWarning = "印刷済み（履歴に記録があります）";

} // namespace orders
