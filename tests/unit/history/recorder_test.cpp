// Recording that never loses a slip: the pending file, its retries, and no record twice.
#include "StoreUnderTest.h"
#include "history/HistoryRecorder.h"
#include "history/PendingFile.h"
#include "unit/support/TempDir.h"

#include <gtest/gtest.h>

using history::HistoryRecord;
using history::Recorder;
using Status = history::RecordOutcome::Status;

namespace {

std::size_t StoredCount(const std::string& db) {
    return history::OpenStore(history::LocationFromArgument(db))->Search({}).size();
}

} // namespace

TEST(PendingFile, EveryValueSurvivesTheFile) {
    HistoryRecord a = SampleSlip();
    a.uuid = history::NewUuid();
    a.values.Edit_Add3 = Sj(" 100%\r\n表=ソ\t ");
    a.values.Edit_G1 = "%41";
    a.values.CheckBox_My = false;
    a.reprintOf = 12345678901;
    HistoryRecord b = SampleSlip("2024-05-03T08:00:00-05:30");
    b.uuid = history::NewUuid();
    b.order.clear();
    std::string bytes = history::FormatPending({a, b});
    EXPECT_EQ(bytes.find('\r'), std::string::npos);
    EXPECT_TRUE(history::ParsePending(bytes) == (std::vector{a, b}));
}

TEST(Recorder, AStoreThatCannotBeWrittenKeepsRecordsBackUntilItCan) {
    TempDir dir;
    std::string db = dir.File("later/h.db"); // its folder does not exist yet
    std::string pending = history::PendingFilePath(dir.Path().string());
    Recorder recorder(history::LocationFromArgument(db), pending);

    auto first = recorder.Record(SampleSlip("2024-05-01T09:00:00+09:00"));
    EXPECT_EQ(first.status, Status::Pending);
    EXPECT_EQ(first.pending, 1u);
    EXPECT_NE(first.message, "");
    EXPECT_EQ(recorder.Record(SampleSlip("2024-05-01T09:01:00+09:00")).pending, 2u);
    EXPECT_EQ(history::ReadPending(pending).size(), 2u);

    std::filesystem::create_directory(dir.File("later"));
    auto third = recorder.Record(SampleSlip("2024-05-01T09:02:00+09:00"));
    EXPECT_EQ(third.status, Status::Stored);
    EXPECT_EQ(third.pending, 0u);
    EXPECT_EQ(third.message, "");
    EXPECT_FALSE(std::filesystem::exists(pending));
    auto rows = recorder.OpenStore().Search({});
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].id, third.id);
    EXPECT_EQ(rows[2].time, "2024-05-01T09:00:00+09:00");
    EXPECT_EQ(recorder.Flush().status, Status::Stored);
    EXPECT_EQ(StoredCount(db), 3u);
}

TEST(Recorder, ARetryAfterACrashBetweenStoreAndPendingFileAddsNothing) {
    TempDir dir;
    std::string db = dir.File("h.db");
    std::string pending = history::PendingFilePath(dir.Path().string());
    HistoryRecord slip = SampleSlip();
    slip.uuid = history::NewUuid();
    Recorder(history::LocationFromArgument(db), pending).Record(slip);
    // The crash left the record in the pending file although the store has it.
    history::WritePending(pending, {slip});

    auto flushed = Recorder(history::LocationFromArgument(db), pending).Flush();
    EXPECT_EQ(flushed.status, Status::Stored);
    EXPECT_FALSE(std::filesystem::exists(pending));
    EXPECT_EQ(StoredCount(db), 1u);
}

TEST(Recorder, WhenNeitherStoreNorPendingFileCanBeWrittenItSaysSo) {
    TempDir dir;
    Recorder recorder(history::LocationFromArgument(dir.File("none/h.db")), dir.File("none/x.pending"));
    auto outcome = recorder.Record(SampleSlip());
    EXPECT_EQ(outcome.status, Status::Lost);
    EXPECT_NE(outcome.message.find("Path not found"), std::string::npos) << outcome.message;
}

TEST(Recorder, AStartWithNothingWaitingLeavesTheStoreUnopened) {
    TempDir dir;
    Recorder recorder(history::LocationFromArgument(dir.File("h.db")), dir.File("p.pending"));
    auto outcome = recorder.Flush();
    EXPECT_EQ(outcome.status, Status::Stored);
    EXPECT_FALSE(std::filesystem::exists(dir.File("h.db")));
}
