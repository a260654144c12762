#pragma once
// The history as the order queue's record of earlier prints, asked off the window's thread.
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
