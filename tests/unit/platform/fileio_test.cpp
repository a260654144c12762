#include "platform/FileIO.h"
#include "platform/RuntimeErrors.h"
#include "unit/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

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

TEST(FileIO, NewFileGetsMode0666LessTheUmask) {
    TempDir dir;
    std::string path = dir.File("my2.txt");
    const mode_t saved = ::umask(027);
    fileio::WriteFileAtomic(path, "x");
    ::umask(saved);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(FileIO, JoinPathUsesOneSlash) {
    EXPECT_EQ(fileio::JoinPath("/work", "a.ini"), "/work/a.ini");
    EXPECT_EQ(fileio::JoinPath("/", "a.ini"), "/a.ini");
    EXPECT_EQ(fileio::JoinPath("", "a.ini"), "a.ini");
}
