#pragma once
// Recording printed slips without ever failing the print. The print job calls Record once, right
// after EndDoc succeeded; the program calls Flush once at start. Each record is written to the pending
// file beside the settings (and flushed to disk) before the store is asked, and leaves the file when the
// store has it: a program killed while the store is slow or stopped loses nothing, and what the store
// could not take goes in before the next record (or at the next start), in printing order. What even the
// file cannot take (a full disk, a folder that cannot be written) stays in memory and is tried again with
// the next record or flush. Every record carries a uuid from the moment it is made, so a retry after a
// crash between the store's write and the pending file's rewrite finds it already stored and adds nothing.
//
// For the glue:
//   history::Recorder recorder(history::LocationFromSettings(settings, dir), history::PendingFilePath(dir));
//   at start:       auto o = recorder.Flush();          // opens the store only when records wait
//   after EndDoc:   auto o = recorder.Record(record);   // o.id: the row to scan a tracking number onto
//   help bar:       o.message when not empty (CP932), e.g. "記録を保留しました（3 件）: <why>"
//   at the end:     recorder.Unsaved() records would be lost: flush once more, then say so
//   history window: recorder.OpenStore() (raises EHistoryStore) shares the one connection;
//                   recorder.CloseStore() after an Unavailable error
// Every call may wait on the store up to its deadline (history/SqlDb.h): not on the window's thread.
#include "history/HistoryStore.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace history {

struct RecordOutcome {
    enum class Status {
        Stored,  // the record (and every record that was waiting) is in the store
        Pending, // kept back: the store could not be written; `message` says why
    };
    Status status = Status::Stored;
    std::int64_t id = 0;     // the stored record's id (Stored only)
    std::size_t pending = 0; // records still waiting, in the pending file or in memory
    std::size_t unsaved = 0; // of those, the ones only in memory: the pending file could not take them
    std::string message;     // CP932, for the help bar; empty when all went in
    // Slips of the shared queue's orders that another slip got to first (printed elsewhere while this
    // desk's record waited, or cancelled): stored, and said here (CP932) so the clerk sets one aside.
    std::vector<std::string> conflicts;
};

class Recorder {
public:
    Recorder(StoreLocation location, std::string pendingPath);

    // Fills in an empty uuid and time, then stores what waits and this record, in that order.
    // Never raises.
    RecordOutcome Record(HistoryRecord record);
    // Stores what waits. Touches nothing when nothing waits. Never raises.
    RecordOutcome Flush();

    // The store, opened on first use and again after a failure. Raises EHistoryStore.
    Store& OpenStore();
    // Drops the connection after the window met an Unavailable error, so the next use connects afresh.
    void CloseStore() { store_.reset(); }
    // Records neither stored nor in the pending file: lost if the program ends now.
    std::size_t Unsaved() const { return unsaved_.size(); }

private:
    RecordOutcome Drain(std::optional<HistoryRecord> record);

    StoreLocation location_;
    std::string pendingPath_;
    std::unique_ptr<history::Store> store_;
    std::vector<HistoryRecord> unsaved_; // in printing order
};

} // namespace history
