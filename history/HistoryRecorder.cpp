#include "history/HistoryRecorder.h"

#include "history/PendingFile.h"
#include "platform/Cp932Codec.h"

#include <algorithm>
#include <ctime>

namespace history {

namespace {

bool Holds(const std::vector<HistoryRecord>& records, const HistoryRecord& r) {
    return std::any_of(records.begin(), records.end(),
                       [&](const HistoryRecord& x) { return x.uuid == r.uuid; });
}

} // namespace

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
    std::string problem, notice; // CP932: why something was kept back; what happened to the file
    auto note = [](std::string& to, const std::string& what) { to += (to.empty() ? "" : " / ") + what; };

    // What the pending file holds. A file that cannot be read is left alone: rewriting it would lose
    // what it holds. One with sections that are not records is moved aside whole, for a person to
    // look at; its records go on from here.
    std::vector<HistoryRecord> onDisk;
    bool fileUsable = true;
    try {
        PendingContents read = ReadPending(pendingPath_);
        onDisk = std::move(read.records);
        if (read.unreadable > 0) {
            const std::string aside = MovePendingAside(pendingPath_);
            note(notice, cp932::FromUtf8("読めない保留記録のファイルを " + aside + " に移しました（" +
                                         std::to_string(read.unreadable) + " 件、履歴には入れていません）"));
            for (HistoryRecord& r : onDisk)
                unsaved_.push_back(std::move(r));
            onDisk.clear();
        }
    } catch (const Exception& e) {
        fileUsable = false;
        note(problem, cp932::FromUtf8(pendingPath_ + ": ") + e.Message());
    }

    std::vector<HistoryRecord> all = onDisk;
    for (HistoryRecord& r : unsaved_)
        if (!Holds(all, r)) all.push_back(std::move(r));
    unsaved_.clear();
    if (record) all.push_back(*record);
    if (all.empty()) {
        note(notice, problem);
        out.message = notice;
        return out;
    }

    // Every record is on disk before the store is asked: a kill while the store waits loses nothing.
    bool fileHoldsAll = all.size() == onDisk.size();
    if (!fileHoldsAll && fileUsable) {
        try {
            WritePending(pendingPath_, all);
            fileHoldsAll = true;
        } catch (const Exception& e) {
            note(problem, e.Message());
        }
    }

    std::vector<HistoryRecord> left;
    bool storeWorks = true;
    for (HistoryRecord& r : all) {
        const bool isNew = record && &r == &all.back();
        if (storeWorks) {
            try {
                const Store::Inserted stored = OpenStore().Record(r);
                if (isNew) out.id = stored.id;
                if (!stored.conflict.empty()) out.conflicts.push_back(stored.conflict);
                continue;
            } catch (const EHistoryStore& e) {
                note(problem, e.Message());
                // A record the store refuses stays waiting, but need not hold up the ones after it.
                if (e.GetKind() != EHistoryStore::Kind::BadRequest) {
                    storeWorks = false;
                    store_.reset(); // connect afresh next time
                }
            }
        }
        left.push_back(std::move(r));
    }

    // What is left goes back to the file; what the file cannot take stays here for the next try.
    if (fileUsable && (left.size() != all.size() || !fileHoldsAll)) {
        try {
            WritePending(pendingPath_, left);
            fileHoldsAll = true;
        } catch (const Exception& e) {
            note(problem, e.Message());
            // A file that holds them all still does; stored records in it go in again harmlessly.
        }
    }
    for (HistoryRecord& r : left)
        if (!fileUsable || !(fileHoldsAll || Holds(onDisk, r))) unsaved_.push_back(std::move(r));

    const bool newStored = record ? out.id != 0 : left.empty();
    out.status = newStored ? RecordOutcome::Status::Stored : RecordOutcome::Status::Pending;
    out.pending = left.size();
    out.unsaved = unsaved_.size();
    if (out.pending > 0) {
        std::string what = cp932::FromUtf8("印刷の記録を保留しています（") + std::to_string(out.pending) +
                           cp932::FromUtf8(" 件");
        if (out.unsaved > 0)
            what += cp932::FromUtf8("、うち ") + std::to_string(out.unsaved) +
                    cp932::FromUtf8(" 件はファイルにも書けず、このプログラムが覚えています");
        note(notice, what + cp932::FromUtf8("）: ") + problem);
    } else if (!problem.empty()) {
        note(notice, problem);
    }
    for (const std::string& c : out.conflicts)
        note(notice, c);
    out.message = notice;
    return out;
}

} // namespace history
