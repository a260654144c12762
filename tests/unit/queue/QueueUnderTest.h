#pragma once
// What the shared queue's tests run on. Each program that compiles queue_store_test.cpp defines
// FreshQueueLocation: an empty store on SQLite (unit_queue) or on the private PostgreSQL (pg_tests).
#include "history/HistoryStore.h"
#include "history/QueueStore.h"

#include <string>
#include <vector>

history::StoreLocation FreshQueueLocation();

// `n` orders as the queue keeps them, keyed k1, k2 ...; the store does not look into their data.
inline std::vector<history::NewQueueEntry> QueueEntries(int n, int first = 1) {
    std::vector<history::NewQueueEntry> entries;
    for (int i = first; i < first + n; ++i)
        entries.push_back(
            {"k" + std::to_string(i), "other", "R-" + std::to_string(i), "data " + std::to_string(i)});
    return entries;
}
