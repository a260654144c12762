#include "platform/ProfileFile.h"
#include "platform/RuntimeErrors.h"
#include "unit/support/Sjis.h"
#include "unit/support/TempDir.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace {

class ProfileTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string ini = dir.File("tavo_Zaridi2.ini");

    std::string Get(const std::string& section, const std::string& key, const std::string& def = "<def>") {
        return ReadProfileString(ini, section, key, def);
    }
};

// Root opens any file whatever its mode; without these two capabilities this thread meets file modes
// as an ordinary user does, until the scope ends.
class WithoutFileModeOverride {
public:
    WithoutFileModeOverride() {
        ::syscall(SYS_capget, &header_, saved_);
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        ::syscall(SYS_capset, &header_, lowered);
    }
    ~WithoutFileModeOverride() { ::syscall(SYS_capset, &header_, saved_); }

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
};

} // namespace

// Reading ---------------------------------------------------------------------------------------------

TEST_F(ProfileTest, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(Get("tv_SAGAWAprn", "E_ZIP"), "<def>");
    TempDir::Write(ini, "[tv_SAGAWAprn]\r\nE_ZIP=123\r\n");
    EXPECT_EQ(Get("other", "E_ZIP"), "<def>");
    EXPECT_EQ(Get("tv_SAGAWAprn", "E_AD1"), "<def>");
    EXPECT_EQ(ReadProfileInteger(ini, "tv_SAGAWAprn", "Tab_My", 7), 7);
}

TEST_F(ProfileTest, NamesMatchWithoutAsciiCaseAndSurroundingBlanks) {
    TempDir::Write(ini, "  [ TV_sagawaPRN ]  trailing\r\n  op023myzip  =  530-0001 \r\n");
    EXPECT_EQ(Get("tv_SAGAWAprn", "OP023MyZip"), "530-0001");
    EXPECT_EQ(Get(" tv_SAGAWAprn ", " OP023MyZip "), "530-0001");
}

TEST_F(ProfileTest, FullWidthLettersAreNotFolded) {
    TempDir::Write(ini, Cp932FromUtf8("[Ａ]\r\nｋ=1\r\n"));
    EXPECT_EQ(Get(Cp932FromUtf8("Ａ"), Cp932FromUtf8("ｋ")), "1");
    EXPECT_EQ(Get(Cp932FromUtf8("ａ"), Cp932FromUtf8("ｋ")), "<def>");
    EXPECT_EQ(Get(Cp932FromUtf8("Ａ"), Cp932FromUtf8("Ｋ")), "<def>");
}

TEST_F(ProfileTest, TrailBytesThatLookLikeBracketsOrBackslashStayInsideNames) {
    // 表 is 95 5C, ソ 83 5C, 榊 E9 5D, 氾 94 5B: their trail bytes are "\", "]" and "[".
    std::string section = Cp932FromUtf8("表ソ榊");
    std::string key = Cp932FromUtf8("氾濫ソ");
    TempDir::Write(ini, "[" + section + "]\r\n" + key + "=" + Cp932FromUtf8("能表") + "\r\n");
    EXPECT_EQ(Get(section, key), Cp932FromUtf8("能表"));
    WriteProfileString(ini, section, key, Cp932FromUtf8("予定ソ"));
    EXPECT_EQ(Get(section, key), Cp932FromUtf8("予定ソ"));
    WriteProfileString(ini, Cp932FromUtf8("榊"), Cp932FromUtf8("表"), Cp932FromUtf8("ソ"));
    EXPECT_EQ(Get(Cp932FromUtf8("榊"), Cp932FromUtf8("表")), Cp932FromUtf8("ソ"));
    EXPECT_EQ(Get(section, key), Cp932FromUtf8("予定ソ"));
}

TEST_F(ProfileTest, HeaderNeedsAClosingBracket) {
    TempDir::Write(ini, "[a]\r\n[b\r\nk=1\r\n");
    EXPECT_EQ(Get("a", "k"), "1"); // "[b" opens no section
    EXPECT_EQ(Get("b", "k"), "<def>");
}

TEST_F(ProfileTest, KeysBeforeTheFirstHeaderBelongToTheEmptySection) {
    TempDir::Write(ini, "top=1\r\n[s]\r\nk=2\r\n");
    EXPECT_EQ(Get("", "top"), "1");
    EXPECT_EQ(Get("s", "top"), "<def>");
    EXPECT_EQ(Get("", "k"), "<def>");
}

TEST_F(ProfileTest, ValueIsTrimmedAndOnePairOfMatchingQuotesRemoved) {
    TempDir::Write(ini, "[s]\r\na=\t x y \x01\r\nb=\"q\"\r\nc='q'\r\nd=\"q'\r\ne=\"\"q\"\"\r\nf=\r\ng\r\n"
                        "h==x=\r\ni=\"\r\n");
    EXPECT_EQ(Get("s", "a"), "x y");
    EXPECT_EQ(Get("s", "b"), "q");
    EXPECT_EQ(Get("s", "c"), "q");
    EXPECT_EQ(Get("s", "d"), "\"q'");
    EXPECT_EQ(Get("s", "e"), "\"q\"");
    EXPECT_EQ(Get("s", "f"), ""); // empty, not the default
    EXPECT_EQ(Get("s", "g"), "<def>");
    EXPECT_EQ(Get("s", "h"), "=x=");
    EXPECT_EQ(Get("s", "i"), "\"");
}

TEST_F(ProfileTest, FirstDuplicateKeyAndFirstDuplicateSectionWin) {
    TempDir::Write(ini, "[s]\r\nk=1\r\nK=2\r\n[t]\r\nk=3\r\n[S]\r\nk=4\r\nz=5\r\n");
    EXPECT_EQ(Get("s", "k"), "1");
    EXPECT_EQ(Get("s", "z"), "<def>");
    WriteProfileString(ini, "s", "k", "9");
    EXPECT_EQ(TempDir::Read(ini), "[s]\r\nk=9\r\nK=2\r\n[t]\r\nk=3\r\n[S]\r\nk=4\r\nz=5\r\n");
}

TEST_F(ProfileTest, NulByteEndsAValue) {
    TempDir::Write(ini, std::string("[s]\r\nk=ab\0cd\r\n", 14));
    EXPECT_EQ(Get("s", "k"), "ab");
}

TEST_F(ProfileTest, LongValuesAreCutAt2047BytesOnACharacterBoundary) {
    std::string value = "a" + std::string();
    for (int i = 0; i < 1500; ++i)
        value += Cp932FromUtf8("東");
    TempDir::Write(ini, "[s]\r\nk=" + value + "\r\n");
    std::string read = Get("s", "k");
    EXPECT_EQ(read.size(), 2047u); // "a" and 1023 characters
    EXPECT_EQ(read, value.substr(0, 2047));
    value = std::string(1, 'a') + value; // now the 2047th byte would be a lead byte
    TempDir::Write(ini, "[s]\r\nk=" + value + "\r\n");
    EXPECT_EQ(Get("s", "k").size(), 2046u);
}

TEST_F(ProfileTest, IntegersAcceptDecimalAndHexOtherwiseDefault) {
    TempDir::Write(ini,
                   "[s]\r\na= 12\r\nb=-3\r\nc=$ff\r\nd=0X10\r\ne=12abc\r\nf=\r\ng=99999999999\r\nh=1.0\r\n");
    EXPECT_EQ(ReadProfileInteger(ini, "s", "a", -1), 12);
    EXPECT_EQ(ReadProfileInteger(ini, "s", "b", -1), -3);
    EXPECT_EQ(ReadProfileInteger(ini, "s", "c", -1), 255);
    EXPECT_EQ(ReadProfileInteger(ini, "s", "d", -1), 16);
    EXPECT_EQ(ReadProfileInteger(ini, "s", "e", -1), -1);
    EXPECT_EQ(ReadProfileInteger(ini, "s", "f", -1), -1);
    EXPECT_EQ(ReadProfileInteger(ini, "s", "g", -1), -1);
    EXPECT_EQ(ReadProfileInteger(ini, "s", "h", -1), -1);
}

TEST_F(ProfileTest, LfOnlyFilesAreRead) {
    TempDir::Write(ini, "[s]\nk=v\nl=w");
    EXPECT_EQ(Get("s", "k"), "v");
    EXPECT_EQ(Get("s", "l"), "w");
}

TEST_F(ProfileTest, Utf8FileWithByteOrderMarkIsReadAndKeptUtf8) {
    TempDir::Write(ini, "\xEF\xBB\xBF[tv_SAGAWAprn]\nE_AD1=東京都港区\n");
    EXPECT_EQ(Get("tv_SAGAWAprn", "E_AD1"), Cp932FromUtf8("東京都港区"));
    WriteProfileString(ini, "tv_SAGAWAprn", "E_CUS", Cp932FromUtf8("髙橋"));
    EXPECT_EQ(TempDir::Read(ini), "\xEF\xBB\xBF[tv_SAGAWAprn]\nE_AD1=東京都港区\nE_CUS=髙橋\r\n");
    EXPECT_EQ(Get("tv_SAGAWAprn", "E_CUS"), Cp932FromUtf8("髙橋"));
}

// Writing ---------------------------------------------------------------------------------------------

TEST_F(ProfileTest, MissingFileIsCreatedWithSectionAndKey) {
    WriteProfileString(ini, "tv_SAGAWAprn", "E_ZIP", "100-0001");
    WriteProfileInteger(ini, "tv_SAGAWAprn", "ZaRIDI2prnno", -1);
    EXPECT_EQ(TempDir::Read(ini), "[tv_SAGAWAprn]\r\nE_ZIP=100-0001\r\nZaRIDI2prnno=-1\r\n");
    EXPECT_EQ(ReadProfileInteger(ini, "tv_SAGAWAprn", "ZaRIDI2prnno", 5), -1);
}

TEST_F(ProfileTest, RewriteKeepsKeySpellingAndEveryOtherLineByteForByte) {
    std::string before =
        "; comment\n[tv_SAGAWAprn]\n  e_zip = old \nno equals here\n\nUnknown=x\n[other]\nE_ZIP=z";
    TempDir::Write(ini, before);
    WriteProfileString(ini, "tv_SAGAWAprn", "E_ZIP", "new");
    EXPECT_EQ(TempDir::Read(ini),
              "; comment\n[tv_SAGAWAprn]\ne_zip=new\r\nno equals here\n\nUnknown=x\n[other]\nE_ZIP=z");
}

TEST_F(ProfileTest, NewKeyGoesAfterTheLastKeyOfItsSection) {
    TempDir::Write(ini, "[a]\r\nk=1\r\n; note\r\n\r\n[b]\r\nm=2\r\n");
    WriteProfileString(ini, "a", "n", "3");
    EXPECT_EQ(TempDir::Read(ini), "[a]\r\nk=1\r\nn=3\r\n; note\r\n\r\n[b]\r\nm=2\r\n");
    WriteProfileString(ini, "c", "x", "");
    EXPECT_EQ(TempDir::Read(ini), "[a]\r\nk=1\r\nn=3\r\n; note\r\n\r\n[b]\r\nm=2\r\n[c]\r\nx=\r\n");
    EXPECT_EQ(Get("c", "x"), "");
}

TEST_F(ProfileTest, SectionAppendedToFileWithoutFinalLineEnd) {
    TempDir::Write(ini, "[a]\nk=1");
    WriteProfileString(ini, "b", "k", "2");
    EXPECT_EQ(TempDir::Read(ini), "[a]\nk=1\r\n[b]\r\nk=2\r\n");
}

TEST_F(ProfileTest, NewKeyInSectionWithoutKeysFollowsTheHeader) {
    TempDir::Write(ini, "[a]\n\n[b]\n");
    WriteProfileString(ini, "a", "k", "1");
    EXPECT_EQ(TempDir::Read(ini), "[a]\nk=1\r\n\n[b]\n");
}

TEST_F(ProfileTest, EqualValueLeavesTheFileUntouched) {
    TempDir::Write(ini, "[s]\nk = \"v\" \n");
    auto stamp = std::filesystem::last_write_time(ini);
    struct stat before {};
    ::stat(ini.c_str(), &before);
    WriteProfileString(ini, "s", "k", "v");
    struct stat after {};
    ::stat(ini.c_str(), &after);
    EXPECT_EQ(TempDir::Read(ini), "[s]\nk = \"v\" \n");
    EXPECT_EQ(before.st_ino, after.st_ino); // not even replaced by an identical copy
    EXPECT_EQ(stamp, std::filesystem::last_write_time(ini));
}

TEST_F(ProfileTest, ValuesThatReadingWouldAlterAreQuotedSoTheyReadBackExactly) {
    for (const std::string& v : std::vector<std::string>{
             " lead", "trail ", "\"q\"", "'q'", "\t", Cp932FromUtf8("　全角　"), std::string("'"), "\"x'"}) {
        WriteProfileString(ini, "s", "k", v);
        EXPECT_EQ(Get("s", "k"), v) << v;
    }
    WriteProfileString(ini, "s", "k", "a\r\nb");
    EXPECT_EQ(Get("s", "k"), "a  b");
    EXPECT_EQ(TempDir::Read(ini), "[s]\r\nk=a  b\r\n");
}

TEST_F(ProfileTest, BatchOfWritesIsOneReplacement) {
    ProfileFile file(ini);
    for (int i = 0; i < 17; ++i)
        file.WriteString("tv_SAGAWAprn", "K" + std::to_string(i), std::to_string(i));
    EXPECT_FALSE(std::filesystem::exists(ini));
    file.Save();
    ProfileFile back(ini);
    EXPECT_EQ(back.ReadString("tv_SAGAWAprn", "k16", ""), "16");
}

// Failures --------------------------------------------------------------------------------------------

TEST_F(ProfileTest, MissingDirectoryRaisesTheWriteErrorWithThePath) {
    std::string path = dir.File("no/such/dir/x.ini");
    try {
        WriteProfileString(path, "s", "k", "v");
        FAIL();
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message(), path + Cp932FromUtf8(" に書き込めません"));
    }
}

TEST_F(ProfileTest, PathThatIsADirectoryRaisesAndStaysADirectory) {
    std::filesystem::create_directory(ini);
    EXPECT_THROW(WriteProfileString(ini, "s", "k", "v"), EInOutError);
    EXPECT_TRUE(std::filesystem::is_directory(ini));
    EXPECT_EQ(Get("s", "k"), "<def>");
}

TEST_F(ProfileTest, FullDiskLeavesTheOldFileExactlyAsItWasAndNoTemporary) {
    std::string before = "[s]\r\nk=old\r\n";
    TempDir::Write(ini, before);
    // A file-size limit makes the write fail part way, as a full disk does.
    struct rlimit saved {};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 64;
    ::setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(WriteProfileString(ini, "s", "k", std::string(500, 'x')), EInOutError);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(TempDir::Read(ini), before);
    int entries = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.Path()))
        ++entries, (void)e;
    EXPECT_EQ(entries, 1);
}

TEST_F(ProfileTest, ReplacementKeepsTheFilePermissions) {
    TempDir::Write(ini, "[s]\r\nk=1\r\n");
    std::filesystem::permissions(ini, std::filesystem::perms::owner_read |
                                          std::filesystem::perms::owner_write |
                                          std::filesystem::perms::group_read);
    WriteProfileString(ini, "s", "k", "2");
    auto perms = std::filesystem::status(ini).permissions();
    EXPECT_EQ(perms, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                         std::filesystem::perms::group_read);
}

TEST_F(ProfileTest, UnreadableFileRaisesTheWriteErrorAndStaysAsItWas) {
    const std::string before = "[s]\r\nk=1\r\nother=keep\r\n";
    TempDir::Write(ini, before);
    std::filesystem::permissions(ini, std::filesystem::perms::none);
    {
        WithoutFileModeOverride asUser;
        if (std::ifstream(ini).is_open()) GTEST_SKIP() << "this process reads a file of mode 000";
        try {
            WriteProfileString(ini, "s", "k", "2");
            FAIL() << "a file that could not be read was written";
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.Message(), ini + Cp932FromUtf8(" に書き込めません"));
        }
    }
    std::filesystem::permissions(ini, std::filesystem::perms::owner_read);
    EXPECT_EQ(TempDir::Read(ini), before);
}

TEST_F(ProfileTest, ReadOnlyDirectoryRaisesForAnOrdinaryUser) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write anywhere";
    TempDir::Write(ini, "[s]\r\nk=1\r\n");
    std::filesystem::permissions(dir.Path(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_THROW(WriteProfileString(ini, "s", "k", "2"), EInOutError);
    EXPECT_EQ(TempDir::Read(ini), "[s]\r\nk=1\r\n");
}
