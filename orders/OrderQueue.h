#pragma once
// The order queue (F8) without its window: the orders to print, each open, claimed by a desk, held,
// printed or cancelled; the one in the main window; the next open one after a printed slip; the counts;
// the run of 「残りをすべて印刷」; and "printed before" against the record of earlier prints. The window
// only shows this and sends it what the user and the printer did.
//
// Where the orders and their states live is behind QueueStates, one call per transition: this desk's
// memory (one file at a time), or the queue the desks of a packing room share in the history's store
// (queue/StoreQueueStates.h), where an order this desk works on is claimed first, so that no two desks
// ever print the same order.
#include "orders/Orders.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace orders {

enum class OrderState { Open, Claimed, Held, Printed, Cancelled };

// Who has an order of the queue.
struct QueueRow {
    OrderState state = OrderState::Open;
    std::string desk;  // Claimed: the desk holding it (CP932)
    bool mine = false; // Claimed by this desk
};

struct ImportCount {
    std::size_t added = 0, already = 0;
    bool replaced = false; // the import took the place of every order before it
};

class QueueStates {
public:
    virtual ~QueueStates() = default;
    // An import: the orders of a file, each with the state it starts in (Open or Held). This desk's
    // memory replaces what it held; a shared queue adds those it does not have yet.
    virtual ImportCount Import(std::vector<Order> orders, std::vector<OrderState> start) = 0;
    // Orders that joined since (another desk's import) appended, every state brought up to date.
    // False when the shared queue cannot be reached: what was shown stays, and Trouble says why.
    virtual bool Refresh() = 0;
    virtual std::size_t Count() const = 0;
    virtual const Order& At(std::size_t index) const = 0;
    virtual const QueueRow& Row(std::size_t index) const = 0;
    // This desk takes an open order: false when another desk was first or the queue cannot be
    // reached (the row then says what the order is now).
    virtual bool Claim(std::size_t index) = 0;
    // Gives back an order this desk took and did not print.
    virtual void Release(std::size_t index) = 0;
    // False when the order's state does not allow it (another desk's claim, printed ...).
    virtual bool SetHeld(std::size_t index, bool held) = 0;
    virtual bool SetCancelled(std::size_t index, bool cancelled) = 0;
    // This desk printed the order. The shared queue learns it from the slip's record (QueueMark), in
    // the transaction that stores it; until then it shows the order printed here.
    virtual void Printed(std::size_t index) = 0;
    // Why the shared queue cannot be reached (CP932); empty while it can.
    virtual const std::string& Trouble() const = 0;
};

// The states of one desk, in memory.
class MemoryQueueStates final : public QueueStates {
public:
    ImportCount Import(std::vector<Order> orders, std::vector<OrderState> start) override;
    bool Refresh() override { return true; }
    std::size_t Count() const override { return orders_.size(); }
    const Order& At(std::size_t index) const override { return orders_.at(index); }
    const QueueRow& Row(std::size_t index) const override { return rows_.at(index); }
    bool Claim(std::size_t) override { return true; } // one desk: nobody else takes it
    void Release(std::size_t) override {}
    bool SetHeld(std::size_t index, bool held) override;
    bool SetCancelled(std::size_t index, bool cancelled) override;
    void Printed(std::size_t index) override { rows_.at(index).state = OrderState::Printed; }
    const std::string& Trouble() const override { return trouble_; }

private:
    std::vector<Order> orders_;
    std::vector<QueueRow> rows_;
    std::string trouble_;
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

// The states the orders of an import start in: held when the import held them for a check, and held
// with a problem when the record has a slip of their reference already (asked once for the whole
// batch). `asked` is set false when the record could not be asked (`record` may be null).
std::vector<OrderState> StartStates(std::vector<Order>& orders, PrintedRecord* record, bool* asked = nullptr);

struct QueueCounts {
    std::size_t open = 0, held = 0, printed = 0;
    std::size_t claimed = 0; // by other desks
    std::size_t cancelled = 0;
    std::size_t problems = 0; // orders not yet printed with a problem among their warnings
};

// How a run of 「残りをすべて印刷」 ended.
enum class RunEnd { Finished, Stopped, Failed };

class OrderQueue {
public:
    explicit OrderQueue(std::unique_ptr<QueueStates> states = std::make_unique<MemoryQueueStates>());

    // An import. Orders the record has printed start held, with a problem; so do the orders the import
    // held for a check. When the import takes the place of the orders before (this desk's memory), the
    // current one and any run are forgotten. False when the record could not be asked (`record` may be
    // null: nothing to ask). What was added is in LastImport.
    bool Reset(std::vector<Order> orders, PrintedRecord* record);
    const ImportCount& LastImport() const { return lastImport_; }
    // Brings the shared queue's orders and states up to date; false while it cannot be reached.
    bool Refresh() { return states_->Refresh(); }
    const std::string& Trouble() const { return states_->Trouble(); }

    std::size_t Count() const { return states_->Count(); }
    const Order& At(std::size_t index) const { return states_->At(index); }
    // As this desk sees it: an order it has claimed is open to it.
    OrderState State(std::size_t index) const;
    const QueueRow& Row(std::size_t index) const { return states_->Row(index); }
    QueueCounts Counts() const;
    std::optional<std::size_t> Current() const { return current_; }

    // Whether loading the order asks first: it is printed, the record had it at import, or the record
    // has it now (another desk may have printed it since).
    bool PrintedBefore(std::size_t index, PrintedRecord* record) const;

    // The order goes into the main window: an open one is claimed for this desk first, and the current
    // one it replaces is given back. False, and nothing changes, when another desk has it.
    bool Load(std::size_t index);
    // The main window no longer shows an order of this queue (cleared, or another one loaded): its
    // claim is given back.
    void Unload();
    // Holds an open order or releases a held one; a printed order stays printed (false).
    bool ToggleHold(std::size_t index);
    // Cancels an order not yet printed, or takes a cancelled one back into the queue.
    bool ToggleCancel(std::size_t index);

    // The slip of the current order was accepted by the printer: the order is printed. Returns the
    // next open order after it, wrapping round (not yet loaded); nullopt when none is left.
    std::optional<std::size_t> CurrentPrinted();
    // The first open order after `after` (from the start when nullopt), wrapping round.
    std::optional<std::size_t> NextOpen(std::optional<std::size_t> after) const;
    // From `after` on, the first open order this desk can claim, loaded; nullopt when none is left.
    std::optional<std::size_t> LoadNextOpen(std::optional<std::size_t> after);

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
    // The next order the run prints, claimed and made current; nullopt when the run is over (a stop
    // was asked for, nothing of the plan is open any more, or the shared queue cannot be reached), and
    // LastRunEnd() says why. Orders another desk took meanwhile are passed over: desks running at once
    // share the plan.
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
    ImportCount lastImport_;
    std::optional<std::size_t> current_;
    std::optional<Run> run_;
    std::optional<RunEnd> lastEnd_;
    std::size_t lastDone_ = 0;
};

// The warning an order printed before gets at import.
inline constexpr std::string_view kPrintedBeforeWarning = "印刷済み（履歴に記録があります）";

} // namespace orders
