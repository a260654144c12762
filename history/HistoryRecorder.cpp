#include "history/HistoryRecorder.h"

#include "history/PendingFile.h"
#include "platform/Cp932Codec.h"

#include <ctime>

namespace history {

Recorder::Recorder(StoreLocation location, std::string pendingPath)
    : location_(std::move(location)), pendingPath_(std::move(pendingPath)) {}

Store& Recorder::OpenStore() {
    if (!store_) store_ = history::OpenStore(location_);
    return *store_;
}

RecordOutcome Recorder::Record(HistoryRecord record) {
    if (record.uuid.empty()) record.uuid = NewUuid();
    if (record.time.empty()) record.time = LocalTimestamp(std::time(nullptr));
    return Drain(std::move(record));
}

RecordOutcome Recorder::Flush() {
    return Drain(std::nullopt);
}

RecordOutcome Recorder::Drain(std::optional<HistoryRecord> record) {
    RecordOutcome out;
    std::vector<HistoryRecord> waiting;
    bool pendingReadable = true;
    std::string pendingProblem, storeProblem; // CP932: why something was kept back
    try {
        waiting = ReadPending(pendingPath_);
    } catch (const Exception& e) {
        // An unreadable pending file is left alone: rewriting it would lose what it holds.
        pendingReadable = false;
        pendingProblem = cp932::FromUtf8(pendingPath_ + ": ") + e.Message();
    }
    if (!record && waiting.empty()) {
        out.message = pendingProblem;
        return out;
    }

    const std::size_t waited = waiting.size();
    if (record) waiting.push_back(*record);
    std::vector<HistoryRecord> left;
    bool storeWorks = true;
    for (HistoryRecord& r : waiting) {
        const bool isNew = record && &r == &waiting.back();
        if (storeWorks) {
            try {
                std::int64_t id = OpenStore().Insert(r);
                if (isNew) out.id = id;
                continue;
            } catch (const EHistoryStore& e) {
                storeProblem = e.Message();
                // A record the store refuses stays waiting, but need not hold up the ones after it.
                if (e.GetKind() != EHistoryStore::Kind::BadRequest) {
                    storeWorks = false;
                    store_.reset(); // connect afresh next time
                }
            }
        }
        left.push_back(std::move(r));
    }

    // For a flush, "stored" means nothing is left waiting.
    const bool newStored = record ? out.id != 0 : left.empty();
    out.status = newStored ? RecordOutcome::Status::Stored : RecordOutcome::Status::Pending;
    out.pending = left.size();
    if (left.size() != waited || (record && !newStored)) {
        if (!pendingReadable) {
            if (!newStored) out.status = RecordOutcome::Status::Lost;
            out.pending = 0;
        } else {
            try {
                WritePending(pendingPath_, left);
            } catch (const Exception& e) {
                // Stored records still listed in the old file go in again harmlessly: their uuids are known.
                pendingProblem = e.Message();
                if (!newStored && record) out.status = RecordOutcome::Status::Lost;
                out.pending = waited;
            }
        }
    }
    std::string problem = storeProblem;
    if (!pendingProblem.empty()) problem += (problem.empty() ? "" : " / ") + pendingProblem;
    if (out.status == RecordOutcome::Status::Lost)
        out.message = cp932::FromUtf8("印刷の記録を保存できませんでした: ") + problem;
    else if (out.pending > 0)
        out.message = cp932::FromUtf8("印刷の記録を保留しています（") + std::to_string(out.pending) +
                      cp932::FromUtf8(" 件）: ") + problem;
    else
        out.message = pendingProblem;
    return out;
}

} // namespace history
