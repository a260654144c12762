// Import of the official files: KEN_ALL.CSV (Shift_JIS), utf_ken_all.csv (UTF-8), JIGYOSYO.CSV, zipped
// or not, and files that are wrong or damaged.
#include "postcode/Check.h"
#include "postcode/Import.h"
#include "postcode/Index.h"
#include "unit/support/Sjis.h"
#include "unit/support/TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zip.h>

#include <ctime>
#include <optional>
#include <sstream>

namespace {

std::string KenRow(const char* code, const char* pref, const char* city, const char* town) {
    return std::string("01101,\"060  \",\"") + code + "\",\"ｶﾅ\",\"ｶﾅ\",\"ｶﾅ\",\"" + pref + "\",\"" + city +
           "\",\"" + town + "\",0,0,0,0,0,0\r\n";
}

// The same towns as KEN_ALL.CSV writes them (a long name split over two rows) and as utf_ken_all.csv
// writes them (one row).
const std::string kKenAllHead = KenRow("0600042", "北海道", "札幌市中央区", "大通西（１～１９丁目）") +
                                KenRow("0640820", "北海道", "札幌市中央区", "大通西（２０～２８丁目）") +
                                KenRow("0600000", "北海道", "札幌市中央区", "以下に掲載がない場合");
const std::string kKenAllTail =
    KenRow("9960002", "山形県", "最上郡大蔵村", "南山（その他）") +
    KenRow("4506290", "愛知県", "名古屋市中村区", "名駅ビル（２階）") +
    KenRow("0480411", "北海道", "寿都郡黒松内町", "黒松内町の次に番地がくる場合") +
    KenRow("5220317", "滋賀県", "犬上郡多賀町", "一円");
const std::string kKenAllSplit = kKenAllHead +
                                 KenRow("9960001", "山形県", "最上郡大蔵村", "南山（１、３丁目、５～７") +
                                 KenRow("9960001", "山形県", "最上郡大蔵村", "丁目）") + kKenAllTail;
const std::string kUtfKenAll =
    kKenAllHead + KenRow("9960001", "山形県", "最上郡大蔵村", "南山（１、３丁目、５～７丁目）") + kKenAllTail;
const std::string kJigyosyo =
    "13101,\"ﾌﾙｶﾜ\",\"古河運輸　株式会社\",\"東京都\",\"千代田区\",\"大手町\",\"２丁目６番４号\",\"1008370\","
    "\"100  \",\"銀座\",0,0,0\r\n"
    "13101,\"ｶﾅ\",\"東京中央郵便局\",\"東京都\",\"千代田区\",\"丸の内\",\"２丁目７－２\",\"1008994\","
    "\"100  \",\"銀座\",1,0,0\r\n";

std::string Zip(const std::string& name, const std::string& bytes) {
    TempDir dir;
    const std::string file = dir.File("a.zip");
    int err = 0;
    zip_t* za = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    zip_source_t* src = zip_source_buffer(za, bytes.data(), bytes.size(), 0);
    zip_file_add(za, name.c_str(), src, ZIP_FL_ENC_UTF_8);
    zip_close(za);
    return TempDir::Read(file);
}

struct Imported {
    TempDir dir;
    std::string index = dir.File("postcode.idx");

    // Writes each (name, bytes) as a file and imports them all.
    postcode::ImportReport Run(const std::vector<std::pair<std::string, std::string>>& files,
                               const std::string& carryFrom = {}) {
        std::vector<std::string> paths;
        for (const auto& [name, bytes] : files) {
            paths.push_back(dir.File(name));
            TempDir::Write(paths.back(), bytes);
        }
        return postcode::ImportPostcodeFiles(paths, index, carryFrom);
    }
    std::unique_ptr<postcode::Index> Open() const { return postcode::Index::Open(index); }
};

// The towns read from either KEN_ALL form: notes stripped, chōme kept, special texts emptied.
void ExpectKenAllTowns(const postcode::Index& idx) {
    const struct {
        const char *code, *town, *chome;
    } expected[] = {
        {"0600042", "大通西", "1-19"}, {"0640820", "大通西", "20-28"},
        {"0600000", "", ""},           {"9960001", "南山", "1,3,5-7"},
        {"9960002", "南山", ""},       {"4506290", "名駅ビル２階", ""},
        {"0480411", "", ""},           {"5220317", "一円", ""},
    };
    for (const auto& e : expected) {
        const auto entries = idx.Lookup(e.code);
        ASSERT_EQ(entries.size(), 1u) << e.code;
        EXPECT_EQ(entries[0].town, Cp932FromUtf8(e.town)) << e.code;
        EXPECT_EQ(entries[0].chome, e.chome) << e.code;
    }
}

TEST(PostcodeImport, KenAllInShiftJisJoinsSplitRows) {
    Imported im;
    const auto report = im.Run({{"KEN_ALL.CSV", Cp932FromUtf8(kKenAllSplit.c_str())}});
    ASSERT_EQ(report.files.size(), 1u);
    EXPECT_EQ(report.files[0].kind, "KEN_ALL (Shift_JIS)");
    EXPECT_EQ(report.files[0].rows, 9u);
    EXPECT_EQ(report.standardRows, 8u);
    ExpectKenAllTowns(*im.Open());
}

TEST(PostcodeImport, UtfKenAllInUtf8) {
    Imported im;
    const auto report = im.Run({{"utf_ken_all.csv", kUtfKenAll}});
    EXPECT_EQ(report.files.at(0).kind, "KEN_ALL (UTF-8)");
    EXPECT_EQ(report.standardRows, 8u);
    ExpectKenAllTowns(*im.Open());
}

TEST(PostcodeImport, ChomeNotesLimitTheCheck) {
    Imported im;
    im.Run({{"utf_ken_all.csv", kUtfKenAll}});
    const auto idx = im.Open();
    auto kind = [&](const char* zip, const char* address) {
        return postcode::CheckKindName(postcode::CheckAddress(*idx, zip, Cp932FromUtf8(address)).kind);
    };
    EXPECT_STREQ(kind("9960001", "山形県最上郡大蔵村南山3丁目"), "match");
    EXPECT_STREQ(kind("9960001", "最上郡大蔵村南山六丁目1"), "match");
    EXPECT_STREQ(kind("9960001", "最上郡大蔵村南山4丁目"), "mismatch");
    EXPECT_STREQ(kind("9960002", "最上郡大蔵村南山4丁目"), "match");
    EXPECT_STREQ(kind("0640820", "札幌市中央区大通西19丁目"), "mismatch");
}

TEST(PostcodeImport, BusinessOfficesAndZipsTogether) {
    Imported im;
    const auto report = im.Run({{"ken_all.zip", Zip("KEN_ALL.CSV", Cp932FromUtf8(kKenAllSplit.c_str()))},
                                {"jigyosyo.zip", Zip("JIGYOSYO.CSV", Cp932FromUtf8(kJigyosyo.c_str()))}});
    ASSERT_EQ(report.files.size(), 2u);
    EXPECT_NE(report.files[0].name.find("ken_all.zip:KEN_ALL.CSV"), std::string::npos);
    EXPECT_EQ(report.files[1].kind, "JIGYOSYO");
    EXPECT_EQ(report.standardRows, 8u);
    EXPECT_EQ(report.businessRows, 2u);
    const auto idx = im.Open();
    ExpectKenAllTowns(*idx);
    const auto office = idx->Lookup("1008370");
    ASSERT_EQ(office.size(), 1u);
    EXPECT_TRUE(office[0].business);
    EXPECT_EQ(office[0].street, Cp932FromUtf8("２丁目６番４号"));
    EXPECT_EQ(office[0].office, Cp932FromUtf8("古河運輸　株式会社"));
    EXPECT_EQ(idx->Lookup("1008994").at(0).town, Cp932FromUtf8("丸の内"));
}

TEST(PostcodeImport, UtfKenAllZipped) {
    Imported im;
    const auto report = im.Run({{"utf_ken_all.zip", Zip("utf_ken_all.csv", kUtfKenAll)}});
    EXPECT_EQ(report.files.at(0).kind, "KEN_ALL (UTF-8)");
    ExpectKenAllTowns(*im.Open());
}

TEST(PostcodeImport, MissingKindIsCarriedOverFromTheOldIndex) {
    Imported old;
    old.Run({{"KEN_ALL.CSV", Cp932FromUtf8(kKenAllSplit.c_str())}});
    Imported im;
    const auto report = im.Run({{"JIGYOSYO.CSV", Cp932FromUtf8(kJigyosyo.c_str())}}, old.index);
    EXPECT_EQ(report.carriedStandard, 8u);
    EXPECT_EQ(report.carriedBusiness, 0u);
    EXPECT_EQ(report.standardRows, 8u);
    EXPECT_EQ(report.businessRows, 2u);
    ExpectKenAllTowns(*im.Open());
}

TEST(PostcodeImport, SplitRowsJoinOnlyWhileAParenthesisIsOpen) {
    Imported im;
    std::string unclosed = KenRow("0600042", "北海道", "札幌市中央区", "大通西（");
    for (int i = 0; i < 20000; ++i)
        unclosed += KenRow("0600042", "北海道", "札幌市中央区", "１");
    const auto report =
        im.Run({{"KEN_ALL.CSV",
                 Cp932FromUtf8((KenRow("9960001", "山形県", "最上郡大蔵村", "南山（１、３丁目、５～７") +
                                KenRow("9960001", "山形県", "最上郡大蔵村", "丁目）") +
                                KenRow("9960001", "山形県", "最上郡大蔵村", "北山") + unclosed)
                                   .c_str())}});
    EXPECT_EQ(report.files.at(0).rows, 20004u);
    const auto idx = im.Open();
    const auto south = idx->Lookup("9960001");
    ASSERT_EQ(south.size(), 2u);
    EXPECT_EQ(south[0].chome, "1,3,5-7");
    EXPECT_EQ(south[1].town, Cp932FromUtf8("北山"));
    const auto west = idx->Lookup("0600042");
    ASSERT_EQ(west.size(), 1u);
    EXPECT_EQ(west[0].town, Cp932FromUtf8("大通西"));
}

TEST(PostcodeImport, AnImportThatWouldHalveTheIndexInUseIsAskedFirst) {
    Imported old;
    old.Run({{"KEN_ALL.CSV", Cp932FromUtf8(kKenAllSplit.c_str())}}); // 8 rows
    const std::string before = TempDir::Read(old.index);
    const std::string four =
        Cp932FromUtf8((kKenAllHead + KenRow("9960002", "山形県", "最上郡大蔵村", "南山")).c_str());
    const std::string three = Cp932FromUtf8(kKenAllHead.c_str());
    const struct {
        const char* what;
        std::string bytes;
        std::optional<bool> answer; // nullopt: nobody to ask
        bool asked, written;
    } cases[] = {
        {"half", four, std::nullopt, false, true},
        {"less than half, nobody to ask", three, std::nullopt, false, false},
        {"less than half, refused", three, false, true, false},
        {"less than half, accepted", three, true, true, true},
    };
    for (const auto& c : cases) {
        TempDir::Write(old.index, before);
        const std::string csv = old.dir.File("KEN_ALL.CSV");
        TempDir::Write(csv, c.bytes);
        std::string question;
        postcode::ShrinkQuestion ask;
        if (c.answer) ask = [&](const std::string& q) { return question = q, *c.answer; };
        try {
            postcode::ImportPostcodeFiles({csv}, old.index, old.index, ask);
            EXPECT_TRUE(c.written) << c.what;
        } catch (const postcode::EPostcodeImport& e) {
            EXPECT_FALSE(c.written) << c.what;
            EXPECT_NE(e.Message().find(Cp932FromUtf8("今 8 件、取り込み後 3 件")), std::string::npos)
                << e.Message();
        }
        EXPECT_EQ(!question.empty(), c.asked) << c.what;
        EXPECT_EQ(TempDir::Read(old.index) != before, c.written) << c.what;
    }
}

TEST(PostcodeImport, AnIndexInUseThatCannotBeCarriedOverIsReported) {
    Imported old;
    old.Run({{"KEN_ALL.CSV", Cp932FromUtf8(kKenAllSplit.c_str())}});
    std::string damaged = TempDir::Read(old.index);
    damaged.back() = static_cast<char>(damaged.back() ^ 1);
    TempDir::Write(old.index, damaged);
    Imported im;
    const auto report = im.Run({{"JIGYOSYO.CSV", Cp932FromUtf8(kJigyosyo.c_str())}}, old.index);
    EXPECT_EQ(report.carriedStandard, 0u);
    const auto lines = postcode::ReportLines(report, im.index);
    EXPECT_EQ(
        lines.at(1),
        Cp932FromUtf8("前のデータから引き継げませんでした: 郵便番号データを使えません（壊れています）: ") +
            old.index);
}

TEST(PostcodeImport, DataDateIsTheNewestFilesDate) {
    Imported im;
    const std::string csv = im.dir.File("KEN_ALL.CSV");
    TempDir::Write(csv, Cp932FromUtf8(kKenAllSplit.c_str()));
    std::tm tm{};
    tm.tm_year = 2025 - 1900, tm.tm_mon = 8, tm.tm_mday = 30, tm.tm_hour = 12, tm.tm_isdst = -1;
    const timespec times[2] = {{std::mktime(&tm), 0}, {std::mktime(&tm), 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, csv.c_str(), times, 0), 0);
    EXPECT_EQ(postcode::ImportPostcodeFiles({csv}, im.index).dataDate, "2025-09-30");
    EXPECT_EQ(im.Open()->DataDate(), "2025-09-30");
}

TEST(PostcodeImport, WrongOrDamagedFilesLeaveTheOldIndexWhole) {
    Imported im;
    im.Run({{"KEN_ALL.CSV", Cp932FromUtf8(kKenAllSplit.c_str())}});
    const std::string before = TempDir::Read(im.index);
    const std::string zipped = Zip("KEN_ALL.CSV", Cp932FromUtf8(kKenAllSplit.c_str()));
    const std::string badCode = KenRow("06000A2", "北海道", "札幌市中央区", "大通西");
    const struct {
        const char* what;
        std::string name, bytes;
    } cases[] = {
        {"empty", "KEN_ALL.CSV", ""},
        {"not a postcode file", "notes.csv", "a,b,c\r\n1,2,3\r\n"},
        {"binary", "KEN_ALL.CSV", std::string("\x89PNG\r\n\x1a\n\0\0\0", 12)},
        {"short row", "KEN_ALL.CSV",
         Cp932FromUtf8(
             (KenRow("0600042", "北海道", "札幌市中央区", "大通西") + "01101,\"060\"\r\n").c_str())},
        {"bad code", "KEN_ALL.CSV", Cp932FromUtf8(badCode.c_str())},
        {"stray quote after a field", "KEN_ALL.CSV",
         Cp932FromUtf8(KenRow("1000001", "東京都", "千代田区", "千代\"田").c_str())},
        {"quote inside a plain field", "KEN_ALL.CSV",
         Cp932FromUtf8(
             ("13101,\"100\",\"1000001\",\"ｶﾅ\",\"ｶﾅ\",\"ｶﾅ\",\"東京都\",\"千代田区\",千\"代田,0,0,0,0,0,"
              "0\r\n"))},
        {"cut zip", "ken_all.zip", zipped.substr(0, zipped.size() / 2)},
        {"zip without csv", "ken_all.zip", Zip("readme.txt", "hello")},
        {"flipped zip data", "ken_all.zip",
         [&] {
             std::string z = zipped;
             z[60] = static_cast<char>(z[60] ^ 0x55); // inside the compressed data
             return z;
         }()},
    };
    for (const auto& c : cases) {
        try {
            im.Run({{c.name, c.bytes}});
            ADD_FAILURE() << c.what << " was imported";
        } catch (const postcode::EPostcodeImport& e) {
            EXPECT_NE(e.Message().find(c.name), std::string::npos) << c.what << ": " << e.Message();
        }
        EXPECT_EQ(TempDir::Read(im.index), before) << c.what;
    }
    try {
        im.Run(
            {{"KEN_ALL.CSV",
              Cp932FromUtf8((kKenAllHead + KenRow("1000001", "東京都", "千代田区", "千代\"田")).c_str())}});
    } catch (const postcode::EPostcodeImport& e) {
        EXPECT_EQ(e.Message(), im.dir.File("KEN_ALL.CSV") +
                                   Cp932FromUtf8(": 4行目: 引用符（\"）の使い方が正しくありません"));
    }
    std::ostringstream out, err;
    EXPECT_EQ(postcode::RunImportPostcodes({im.dir.File("none.csv")}, im.index, {}, out, err), 1);
    EXPECT_NE(err.str().find("File not found"), std::string::npos) << err.str();
    EXPECT_EQ(TempDir::Read(im.index), before);
}

TEST(PostcodeImport, CommandReportsCounts) {
    Imported im;
    const std::string csv = im.dir.File("JIGYOSYO.CSV");
    TempDir::Write(csv, Cp932FromUtf8(kJigyosyo.c_str()));
    std::ostringstream out, err;
    EXPECT_EQ(postcode::RunImportPostcodes({csv}, im.index, {}, out, err), 0) << err.str();
    EXPECT_NE(out.str().find("JIGYOSYO.CSV (JIGYOSYO): 2行"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("事業所 2件"), std::string::npos) << out.str();
}

} // namespace
