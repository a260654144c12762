#include "app/SenderFile.h"
#include "platform/RuntimeErrors.h"
#include "unit/support/Sjis.h"
#include "unit/support/TempDir.h"

#include <gtest/gtest.h>

TEST(SenderFile, FormatIsFiveCrLfLinesInFieldOrder) {
    SenderRecord r{"1", Cp932FromUtf8("住所１"), "", Cp932FromUtf8("名前"), "5"};
    EXPECT_EQ(FormatSenderFile(r),
              "1\r\n" + Cp932FromUtf8("住所１") + "\r\n\r\n" + Cp932FromUtf8("名前") + "\r\n5\r\n");
    EXPECT_EQ(FormatSenderFile({}), "\r\n\r\n\r\n\r\n\r\n");
}

TEST(SenderFile, ParseReadsBackWhatFormatWrote) {
    SenderRecord r{"160-0023", Cp932FromUtf8("表示"), Cp932FromUtf8("ソ能"), "a b",
                   "03"}; // trail bytes 0x5C in 表, ソ, 能
    EXPECT_EQ(ParseSenderFile(FormatSenderFile(r)), r);
}

TEST(SenderFile, MissingLinesReadEmptyAndExtraLinesAreIgnored) {
    EXPECT_EQ(ParseSenderFile("a\r\nb"), (SenderRecord{"a", "b", "", "", ""}));
    EXPECT_EQ(ParseSenderFile(""), SenderRecord{});
    EXPECT_EQ(ParseSenderFile("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n"),
              (SenderRecord{"1", "2", "3", "4", "5"}));
}

TEST(SenderFile, LoneLfAndLoneCrEndLinesToo) {
    EXPECT_EQ(ParseSenderFile("a\nb\rc\r\n\n\ne"), (SenderRecord{"a", "b", "c", "", ""}));
    EXPECT_EQ(ParseSenderFile("\r\r\r\rx"), (SenderRecord{"", "", "", "", "x"}));
}

TEST(SenderFile, LoadOfAMissingFileIsFileNotFound) {
    TempDir dir;
    try {
        LoadSenderFile(dir.File("my3.txt"));
        FAIL() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message(), "File not found");
    }
}

TEST(SenderFile, SaveReplacesTheWholeFile) {
    TempDir dir;
    std::string path = dir.File("my1.txt");
    TempDir::Write(path, "a much longer old content that must not survive\r\n");
    SaveSenderFile(path, {"1", "2", "3", "4", "5"});
    EXPECT_EQ(TempDir::Read(path), "1\r\n2\r\n3\r\n4\r\n5\r\n");
    EXPECT_EQ(LoadSenderFile(path), (SenderRecord{"1", "2", "3", "4", "5"}));
}

TEST(SenderFile, AnOverlongLineIsCutOnACharacterBoundary) {
    // 2046 bytes and then a double-byte character that would straddle the limit of 2047.
    const std::string longLine = std::string(2046, 'a') + Cp932FromUtf8("表") + std::string(1 << 20, 'b');
    const SenderRecord r = ParseSenderFile("1\r\n" + longLine + "\r\n3\r\n4\r\n5\r\n");
    EXPECT_EQ(r.Add1, std::string(2046, 'a'));
    EXPECT_EQ(r.Name, "4"); // the lines after it are where they were
    EXPECT_TRUE(r.cut);
    const std::string justFits = std::string(2045, 'a') + Cp932FromUtf8("表");
    EXPECT_EQ(ParseSenderFile(justFits), (SenderRecord{justFits, "", "", "", ""}));
}
