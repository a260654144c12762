#pragma once
// What of an imported order goes into the history with the slip printed from it: its reference, its
// platform and the platform's IDs, in CP932 like the history's other texts.
#include "history/HistoryRecord.h"
#include "orders/Orders.h"

history::OrderLink LinkOf(const orders::Order& order);
