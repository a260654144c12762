#pragma once
// The history as the order queue's record of earlier prints, through the main window's recorder.
#include "queue/StorePrintedRecord.h"

class SlipDesk;

class HistoryPrintedRecord final : public orders::PrintedRecord {
public:
    explicit HistoryPrintedRecord(SlipDesk& desk);
    // nullopt when the history cannot be opened or asked: the queue then knows this session's prints.
    std::optional<std::unordered_set<std::string>>
    PrintedAmong(const std::vector<std::string>& refs) override {
        return record_.PrintedAmong(refs);
    }

private:
    queue::StorePrintedRecord record_;
};
