#pragma once
// Finishing a transaction the caller opened, for the store's files.
#include "history/HistoryStore.h"
#include "history/SqlDb.h"

namespace history {

// Committed when `work` returns, rolled back when it throws.
template <class F>
auto Committed(SqlDb& db, F&& work) {
    try {
        auto result = work();
        db.Script("COMMIT");
        return result;
    } catch (...) {
        try {
            db.Script("ROLLBACK");
        } catch (const EHistoryStore&) {
            // The connection is gone; the server drops the transaction itself. The first error stands.
        }
        throw;
    }
}

} // namespace history
