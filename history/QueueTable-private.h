#pragma once
// The queue's table as the history store sees it: its schema step and the mark a recorded slip puts on
// its order (history/QueueStore.cpp).
#include "history/HistoryRecord.h"
#include "history/SqlDb.h"

#include <cstdint>
#include <string>

namespace history::queue_table {

// Schema version 4: the table order_queue and its indexes.
std::string SchemaStep(const SqlDb& db);

// Inside the transaction that stored the slip `recordId` for `mark.order`: the order becomes printed by
// it. When another slip got there first (printed elsewhere meanwhile) or the order was cancelled, the
// order stays as it is, this slip is marked void (no parcel goes with it, no shipped file lists it) and
// the message for the user (CP932) is returned; "" otherwise.
std::string MarkPrinted(SqlDb& db, const QueueMark& mark, std::int64_t recordId);

} // namespace history::queue_table
