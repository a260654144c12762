#pragma once
// What of an imported order goes into the history with the slip printed from it: its reference, its
// platform, the platform's IDs and the delivery the customer asked for, in CP932 like the history's other
// texts.
#include "history/HistoryRecord.h"
#include "orders/Orders.h"

history::OrderLink LinkOf(const orders::Order& order);
