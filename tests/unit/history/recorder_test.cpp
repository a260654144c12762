// Recording that never loses a slip: the pending file, its retries, and no record twice.
#include "SmallDisk.h"
#include "StoreUnderTest.h"
#include "history/HistoryRecorder.h"
#include "history/PendingFile.h"
#include "unit/support/TempDir.h"

#include <chrono>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <thread>

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
    a.values.Edit_Add3 = Cp932FromUtf8(" 100%\r\n表=ソ\t ");
    a.values.Edit_G1 = "%41";
    a.values.CheckBox_My = false;
    a.reprintOf = 12345678901;
    a.tracking = "444413758703";
    a.queue = {42, Cp932FromUtf8("作業台=1%")};
    a.isVoid = true;
    a.refs[Cp932FromUtf8("メモ")] = Cp932FromUtf8("\"100%\"\n");
    a.delivery.time = Cp932FromUtf8("午前中=100%\n");
    HistoryRecord b = SampleSlip("2024-05-03T08:00:00-05:30");
    b.uuid = history::NewUuid();
    b.order.clear();
    std::string bytes = history::FormatPending({a, b});
    EXPECT_EQ(bytes.find('\r'), std::string::npos);
    const auto read = history::ParsePending(bytes);
    EXPECT_TRUE(read.records == (std::vector{a, b}));
    EXPECT_EQ(read.unreadable, 0u);
}

TEST(PendingFile, ASectionWithoutAValidTimeAndEveryKeyIsNoRecord) {
    HistoryRecord slip = SampleSlip();
    slip.uuid = "0b7f3c1e-6a52-4d0e-9c1a-3f8e2d4b5a69";
    const std::string good = history::FormatPending({slip});
    auto without = [&](const std::string& line) {
        std::string bytes = good;
        bytes.erase(bytes.find(line), line.size());
        return bytes;
    };
    auto replaced = [&](const std::string& line, const std::string& by) {
        std::string bytes = good;
        return bytes.replace(bytes.find(line), line.size(), by);
    };
    const struct {
        const char* what;
        std::string bytes;
        std::size_t records, unreadable;
    } cases[] = {
        {"empty", "", 0, 0},
        {"blank lines", "\n\r\n\n", 0, 0},
        {"a heading alone", "[TODO]\n", 0, 1},
        {"an empty heading", "[]\n", 0, 1},
        {"free text", "buy stamps\nring the printer shop\n", 0, 1},
        {"a section of another program", "[General]\nname=x\ntime=2024-05-01T09:30:00+09:00\n", 0, 1},
        {"a name that is no uuid", replaced("[0b7f3c1e-6a52-4d0e-9c1a-3f8e2d4b5a69]", "[0b7f3c1e]"), 0, 1},
        {"no time", without("time=2024-05-01T09:30:00+09:00\n"), 0, 1},
        {"a time without its offset", replaced("+09:00\n", "\n"), 0, 1},
        {"no field of the slip", without("Edit_tel=06-1234-5678\n"), 0, 1},
        {"a check box that is neither", replaced("CheckBox_My=1", "CheckBox_My=yes"), 0, 1},
        {"a line without a value", replaced("printer=dotmatrix\n", "printer=dotmatrix\nnonsense\n"), 0, 1},
        {"a record and a stray heading", good + "[TODO]\n", 1, 1},
        {"IDs that are no object of texts", replaced("refs={", "refs=[{"), 0, 1},
        {"a void mark that is neither", good + "void=yes\n", 0, 1},
        {"a newer program's line", replaced("printer=", "label=big\nprinter="), 1, 0},
        {"a queue's order that is no number", replaced("printer=", "queue=A-1\nprinter="), 0, 1},
        {"the record", good, 1, 0},
    };
    for (const auto& c : cases) {
        const auto read = history::ParsePending(c.bytes);
        EXPECT_EQ(read.records.size(), c.records) << c.what;
        EXPECT_EQ(read.unreadable, c.unreadable) << c.what;
    }
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
    EXPECT_EQ(history::ReadPending(pending).records.size(), 2u);

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

TEST(Recorder, WhatNeitherStoreNorPendingFileCanTakeIsKeptInMemoryAndTriedAgain) {
    TempDir dir;
    Recorder recorder(history::LocationFromArgument(dir.File("none/h.db")), dir.File("none/x.pending"));
    auto outcome = recorder.Record(SampleSlip());
    EXPECT_EQ(outcome.status, Status::Pending);
    EXPECT_EQ(outcome.pending, 1u);
    EXPECT_EQ(outcome.unsaved, 1u);
    EXPECT_EQ(recorder.Unsaved(), 1u);
    EXPECT_NE(outcome.message.find("Path not found"), std::string::npos) << outcome.message;
    EXPECT_NE(outcome.message.find(Cp932FromUtf8("このプログラムが覚えています")), std::string::npos)
        << outcome.message;
    std::filesystem::create_directory(dir.File("none"));
    EXPECT_EQ(recorder.Flush().status, Status::Stored);
    EXPECT_EQ(recorder.Unsaved(), 0u);
    EXPECT_EQ(StoredCount(dir.File("none/h.db")), 1u);
}

TEST(Recorder, AnUnreadablePendingFileIsMovedAsideWholeAndOnlyItsRecordsGoIn) {
    TempDir dir;
    const std::string db = dir.File("h.db"), pending = history::PendingFilePath(dir.Path().string());
    HistoryRecord slip = SampleSlip();
    slip.uuid = history::NewUuid();
    const std::string bytes = "[TODO]\nbuy stamps\n\n" + history::FormatPending({slip});
    TempDir::Write(pending, bytes);
    const auto outcome = Recorder(history::LocationFromArgument(db), pending).Flush();
    EXPECT_EQ(outcome.status, Status::Stored);
    EXPECT_FALSE(std::filesystem::exists(pending));
    std::vector<std::filesystem::path> aside;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
        if (e.path().filename().string().starts_with("tavo_Zaridi2.pending.unreadable-"))
            aside.push_back(e.path());
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(TempDir::Read(aside[0].string()), bytes);
    EXPECT_NE(outcome.message.find(aside[0].string()), std::string::npos) << outcome.message;
    const auto stored = history::OpenStore(history::LocationFromArgument(db))->Search({});
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].uuid, slip.uuid);
}

TEST(Recorder, ARecordIsOnDiskBeforeTheStoreIsAskedSoAKillWhileItWaitsLosesNothing) {
    TempDir dir;
    const std::string db = dir.File("h.db"), pending = history::PendingFilePath(dir.Path().string());
    history::OpenStore(history::LocationFromArgument(db)); // the schema, before another program locks it
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(db.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    HistoryRecord slip = SampleSlip();
    slip.uuid = history::NewUuid();
    const pid_t desk = ::fork();
    ASSERT_GE(desk, 0);
    if (desk == 0) {
        Recorder(history::LocationFromArgument(db), pending).Record(slip); // waits on the lock
        ::_exit(0);
    }
    // Killed while the store keeps it waiting, once the record is on disk.
    bool written = false;
    for (int i = 0; i < 400 && !written; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        written = history::ReadPending(pending).records.size() == 1;
    }
    ::kill(desk, SIGKILL);
    int status = 0;
    ::waitpid(desk, &status, 0);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    ASSERT_TRUE(written) << "the record was not in the pending file while the store waited";
    ASSERT_TRUE(WIFSIGNALED(status)) << "the record went in before the kill: the lock did not hold";
    Recorder after(history::LocationFromArgument(db), pending);
    EXPECT_EQ(after.Flush().status, Status::Stored);
    EXPECT_EQ(after.Flush().status, Status::Stored);
    const auto stored = after.OpenStore().Search({});
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].uuid, slip.uuid);
}

TEST(Recorder, OnAFullDiskRecordsWaitInMemoryAndGoInWhenThereIsRoomAgain) {
    TempDir dir;
    const std::string disk = dir.Path().string();
    const auto failures = SmallDisk(disk).Run(8192, [&] {
        std::string failed;
        auto check = [&](bool ok, const std::string& what) {
            if (!ok) failed += what + "\n";
        };
        const std::string db = disk + "/h.db", pending = history::PendingFilePath(disk);
        Recorder recorder(history::LocationFromArgument(db), pending);
        check(recorder.Record(SampleSlip()).status == Status::Stored, "the first slip was not stored");
        {
            std::ofstream filler(disk + "/filler", std::ios::binary);
            const std::string block(4096, 'x');
            while (filler.write(block.data(), block.size()))
                ;
        }
        constexpr std::size_t kSlips = 40;
        for (std::size_t i = 0; i < kSlips; ++i) {
            const auto o = recorder.Record(SampleSlip());
            check(o.status == Status::Pending && o.pending == i + 1,
                  "slip " + std::to_string(i) + ": " + cp932::ToUtf8(o.message));
        }
        check(recorder.Unsaved() > 0, "the full disk took every record");
        std::filesystem::remove(disk + "/filler");
        const auto o = recorder.Record(SampleSlip());
        check(o.status == Status::Stored && o.pending == 0,
              "after the disk had room: " + cp932::ToUtf8(o.message));
        check(recorder.Unsaved() == 0, "records still only in memory");
        check(!std::filesystem::exists(pending), "the pending file stayed");
        check(StoredCount(db) == kSlips + 2, "stored " + std::to_string(StoredCount(db)));
        return failed;
    });
    if (!failures) GTEST_SKIP() << "no private mounts for this user";
    EXPECT_EQ(*failures, "");
}

TEST(Recorder, AStartWithNothingWaitingLeavesTheStoreUnopened) {
    TempDir dir;
    Recorder recorder(history::LocationFromArgument(dir.File("h.db")), dir.File("p.pending"));
    auto outcome = recorder.Flush();
    EXPECT_EQ(outcome.status, Status::Stored);
    EXPECT_FALSE(std::filesystem::exists(dir.File("h.db")));
}
