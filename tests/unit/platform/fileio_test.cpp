#include "platform/Cp932Codec.h"
#include "platform/FileIO.h"
#include "platform/RuntimeErrors.h"
#include "unit/support/TempDir.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

TEST(FileIO, ReadErrorsCarryTheRuntimeMessages) {
    TempDir dir;
    auto messageOf = [](const std::string& path) {
        try {
            fileio::ReadFile(path);
        } catch (const EInOutError& e) {
            return e.Message();
        }
        return std::string("no error");
    };
    EXPECT_EQ(messageOf(dir.File("my0.txt")), "File not found");
    EXPECT_EQ(messageOf(dir.File("gone/my0.txt")), "Path not found");
    EXPECT_EQ(messageOf(dir.Path().string()), "File access denied");
    EXPECT_FALSE(fileio::ReadFileIfExists(dir.File("my0.txt")).has_value());
}

TEST(FileIO, AtomicWriteReplacesWholeFileAndBytesSurvive) {
    TempDir dir;
    std::string path = dir.File("my1.txt");
    std::string bytes("a\r\n\0\xFF\x82\r\n", 8);
    fileio::WriteFileAtomic(path, bytes);
    EXPECT_EQ(fileio::ReadFile(path), bytes);
    fileio::WriteFileAtomic(path, "short");
    EXPECT_EQ(fileio::ReadFile(path), "short");
}

TEST(FileIO, NewFileIsTheUsersAloneLessTheUmaskAndAnOldOneKeepsItsMode) {
    TempDir dir;
    const struct {
        mode_t umask, old, expected; // old 0: no file before
    } cases[] = {{022, 0, 0600}, {0277, 0, 0400}, {022, 0644, 0644}, {077, 0660, 0660}};
    for (const auto& c : cases) {
        const std::string path = dir.File("my2.txt");
        std::filesystem::remove(path);
        if (c.old) {
            TempDir::Write(path, "old");
            ::chmod(path.c_str(), c.old);
        }
        const mode_t saved = ::umask(c.umask);
        fileio::WriteFileAtomic(path, "x");
        ::umask(saved);
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, c.expected) << std::oct << c.umask << " " << c.old;
    }
}

TEST(FileIO, JoinPathUsesOneSlash) {
    EXPECT_EQ(fileio::JoinPath("/work", "a.ini"), "/work/a.ini");
    EXPECT_EQ(fileio::JoinPath("/", "a.ini"), "/a.ini");
    EXPECT_EQ(fileio::JoinPath("", "a.ini"), "a.ini");
}

namespace {

std::string ReadMessage(const std::string& path) {
    try {
        fileio::ReadFile(path);
    } catch (const EInOutError& e) {
        return e.Message();
    }
    return "no error";
}

} // namespace

TEST(FileIO, OnlyRegularFilesAreReadAndTheOthersAreNamed) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
    std::filesystem::create_symlink(dir.File("fifo"), dir.File("to-fifo"));
    std::filesystem::create_symlink("/dev/zero", dir.File("to-zero"));
    TempDir::Write(dir.File("regular"), "ok");
    std::filesystem::create_symlink(dir.File("regular"), dir.File("to-regular"));
    const struct {
        const char* name;
        const char* message; // after the runtime's first line
    } cases[] = {
        {"fifo", " は通常のファイルではありません"},
        {"to-fifo", " は通常のファイルではありません"},
        {"to-zero", " は通常のファイルではありません"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadMessage(dir.File(c.name)), cp932::FromUtf8(dir.File(c.name) + c.message)) << c.name;
    EXPECT_EQ(fileio::ReadFile(dir.File("to-regular")), "ok");
}

TEST(FileIO, FileBeyondItsKindsLimitIsRefusedUnreadWithTheReasonFirst) {
    TempDir dir;
    const std::string path = dir.File("tavo_Zaridi2.ini");
    TempDir::Write(path, "[s]\r\n");
    std::filesystem::resize_file(path, fileio::kMaxFileBytes); // at the cap: read
    EXPECT_EQ(fileio::ReadFile(path).size(), fileio::kMaxFileBytes);
    std::filesystem::resize_file(path, fileio::kMaxFileBytes + 1);
    EXPECT_EQ(ReadMessage(path), cp932::FromUtf8(path + " は大きすぎます（16 MB まで）"));
    // A kind with a larger limit reads what the small files may not.
    EXPECT_EQ(fileio::ReadFile(path, 32u << 20).size(), fileio::kMaxFileBytes + 1);
    try {
        fileio::ReadFile(path, 1536);
        ADD_FAILURE() << "read beyond its limit";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message(), cp932::FromUtf8(path + " は大きすぎます（1536 bytes まで）"));
    }
}

TEST(FileIO, WritingThroughALinkReplacesItsTargetAndKeepsTheLink) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("real"));
    const std::string target = dir.File("real/tavo_Zaridi2.ini");
    TempDir::Write(target, "old");
    ::chmod(target.c_str(), 0640);
    std::filesystem::create_symlink("real/tavo_Zaridi2.ini", dir.File("hop"));      // relative
    std::filesystem::create_symlink(dir.File("hop"), dir.File("tavo_Zaridi2.ini")); // a chain
    fileio::WriteFileAtomic(dir.File("tavo_Zaridi2.ini"), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("tavo_Zaridi2.ini")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("hop")));
    EXPECT_EQ(TempDir::Read(target), "new");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("real")), {}), 1);

    std::filesystem::create_symlink("loop", dir.File("loop"));
    EXPECT_THROW(fileio::WriteFileAtomic(dir.File("loop"), "x"), EInOutError);
}

TEST(FileIO, StaleTemporariesOfOurFilesAreRemovedAndNothingElse) {
    TempDir dir;
    const std::vector<std::string> names = {"tavo_Zaridi2.ini", "my0.txt"};
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::minutes(5);
    const struct {
        const char* name;
        bool stale; // last changed five minutes ago
        bool removed;
    } cases[] = {
        {".tavo_Zaridi2.ini.Ab3xYz", true, true},
        {".my0.txt.000000", true, true},
        {".tavo_Zaridi2.ini.Ab3xYz", false, false}, // young: maybe a save in progress
        {".tavo_Zaridi2.ini.Ab3xY", true, false},
        {".tavo_Zaridi2.ini.Ab3x-z", true, false},
        {".other.ini.Ab3xYz", true, false},
        {"tavo_Zaridi2.ini", true, false},
        // Marked ones, of any file the program writes.
        {".tavo_Zaridi2.pending.tavo-Ab3xYz", true, true},
        {".postcode.idx.tavo-000000", true, true},
        {".postcode.idx.tavo-000000", false, false},
        {".postcode.idx.tavo-00000", true, false},
        {"postcode.idx.tavo-000000", true, false},
        {"..tavo-000000", true, false},
    };
    for (const auto& c : cases) {
        TempDir fresh;
        const std::string path = fresh.File(c.name);
        TempDir::Write(path, "copy of the user's data");
        if (c.stale) std::filesystem::last_write_time(path, old);
        EXPECT_EQ(fileio::RemoveStaleTemporaries(fresh.Path().string(), names, std::chrono::minutes(1)),
                  c.removed ? 1 : 0)
            << c.name;
        EXPECT_EQ(std::filesystem::exists(path), !c.removed) << c.name;
    }
    // A link of that name is left alone, and so is what it points to.
    TempDir::Write(dir.File("keep"), "x");
    std::filesystem::create_symlink(dir.File("keep"), dir.File(".my0.txt.Ab3xYz"));
    EXPECT_EQ(fileio::RemoveStaleTemporaries(dir.Path().string(), names, std::chrono::seconds(0)), 0);
    EXPECT_TRUE(std::filesystem::exists(dir.File("keep")));
}

TEST(FileIO, TheTemporaryOfAWriteKilledHalfwayIsAStaleOne) {
    TempDir dir;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Ended in the middle of the write, at the moment the file outgrows the limit.
        ::signal(SIGXFSZ, [](int) { ::_exit(3); });
        struct rlimit limit {
            1024, 1024
        };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        fileio::WriteFileAtomic(dir.File("tavo_orders.ini"), std::string(4096, 'x'));
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << status;
    std::vector<std::filesystem::path> left(std::filesystem::directory_iterator(dir.Path()), {});
    ASSERT_EQ(left.size(), 1u);
    std::filesystem::last_write_time(left[0],
                                     std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    EXPECT_EQ(fileio::RemoveStaleTemporaries(dir.Path().string(), {}, std::chrono::minutes(1)), 1) << left[0];
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST(FileIO, WriteBeyondTheFileSizeLimitIsReportedNotFatal) {
    TempDir dir;
    const std::string path = dir.File("tavo_Zaridi2.ini");
    TempDir::Write(path, "old");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        struct rlimit limit {
            1024, 1024
        };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        try {
            fileio::WriteFileAtomic(path, std::string(4096, 'x'));
        } catch (const EInOutError&) {
            ::_exit(0);
        }
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_FALSE(WIFSIGNALED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write did not fail";
    EXPECT_EQ(TempDir::Read(path), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}
