#pragma once
// The history as the order queue's record of earlier prints: the references of a whole import asked in
// one go (history::Store::PrintedOrders), the texts crossing from the orders' UTF-8 to the store's CP932.
#include "orders/OrderQueue.h"

class SlipDesk;

class HistoryPrintedRecord final : public orders::PrintedRecord {
public:
    explicit HistoryPrintedRecord(SlipDesk& desk) : desk_(desk) {}
    // nullopt when the history cannot be opened or asked: the queue then knows this session's prints.
    std::optional<std::unordered_set<std::string>>
    PrintedAmong(const std::vector<std::string>& refs) override;

private:
    SlipDesk& desk_;
};
