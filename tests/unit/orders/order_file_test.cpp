// Reading order files: encodings, CSV quoting, line ends, and every kind of bad input refused with the
// file (and row) named.
#include "orders/OrderFile.h"
#include "platform/Cp932Codec.h"
#include "unit/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

using namespace orders;

std::string Message(const EOrderFile& e) {
    return cp932::ToUtf8(e.Message());
}

// The error message for `bytes` read as the file "x.csv", or "" when it reads.
std::string ErrorOf(const std::string& bytes) {
    try {
        ParseOrderTable(bytes, "x.csv");
        return "";
    } catch (const EOrderFile& e) {
        return Message(e);
    }
}

std::vector<std::vector<std::string>> AllRows(const OrderTable& t) {
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = 0; i < t.rows.size(); ++i)
        rows.push_back(RowCells(t, i));
    return rows;
}

TEST(OrderFile, TellsUtf8WithAndWithoutMarkFromShiftJis) {
    const std::string utf8 = "注文番号,お名前\n1,髙橋\n";
    OrderTable a = ParseOrderTable("\xEF\xBB\xBF" + utf8, "x.csv");
    OrderTable b = ParseOrderTable(utf8, "x.csv");
    OrderTable c = ParseOrderTable(cp932::FromUtf8(utf8), "x.csv");
    EXPECT_EQ(a.encoding, OrderEncoding::Utf8);
    EXPECT_EQ(b.encoding, OrderEncoding::Utf8);
    EXPECT_EQ(c.encoding, OrderEncoding::Cp932);
    for (const OrderTable* t : {&a, &b, &c}) {
        EXPECT_EQ(t->header, (std::vector<std::string>{"注文番号", "お名前"}));
        EXPECT_EQ(RowCells(*t, 0)[1], "髙橋");
    }
}

TEST(OrderFile, QuotedCellsKeepDelimitersQuotesAndLineBreaks) {
    OrderTable t =
        ParseOrderTable("a,b,c\r\n\"x,y\",\"say \"\"hi\"\"\",\"line1\r\nline2\"\r\n\r\nlast,,\"\"", "x.csv");
    EXPECT_EQ(AllRows(t), (std::vector<std::vector<std::string>>{{"x,y", "say \"hi\"", "line1\r\nline2"},
                                                                 {"last", "", ""}}));
    // Row numbers are the spreadsheet's: the quoted line break does not start a row, the blank line is one.
    EXPECT_EQ(t.rows[0].number, 2u);
    EXPECT_EQ(t.rows[1].number, 4u);
    EXPECT_EQ(t.samples, (std::vector<std::string>{"x,y", "say \"hi\"", "line1\r\nline2"}));
}

TEST(OrderFile, TabsLfAndLoneCrEndings) {
    OrderTable tsv = ParseOrderTable("a\tb\n1,5\t2\n", "x.tsv");
    EXPECT_EQ(tsv.delimiter, '\t');
    EXPECT_EQ(RowCells(tsv, 0), (std::vector<std::string>{"1,5", "2"}));
    OrderTable cr = ParseOrderTable("a,b\r1,2\r3,4", "x.csv");
    EXPECT_EQ(AllRows(cr), (std::vector<std::vector<std::string>>{{"1", "2"}, {"3", "4"}}));
}

TEST(OrderFile, ARowRepeatingTheHeaderIsSkippedAndNoted) {
    OrderTable t = ParseOrderTable("注文番号,お名前\n1,山田\n 注文番号 ,お名前\n2,佐藤\n", "x.csv");
    EXPECT_EQ(AllRows(t), (std::vector<std::vector<std::string>>{{"1", "山田"}, {"2", "佐藤"}}));
    EXPECT_EQ(t.repeatedHeader, std::vector<std::size_t>{3});
}

TEST(OrderFile, TrailingEmptyCellsAreNotRagged) {
    OrderTable t = ParseOrderTable("a,b\n1,2,,\n", "x.csv");
    EXPECT_EQ(RowCells(t, 0), (std::vector<std::string>{"1", "2"}));
}

struct BadCase {
    const char* name;
    std::string bytes;
    const char* message; // what the message must contain besides the file's name
};

void PrintTo(const BadCase& c, std::ostream* os) {
    *os << c.name;
}

class BadInput : public testing::TestWithParam<BadCase> {};

TEST_P(BadInput, IsRefusedNamingTheFileAndRow) {
    std::string m = ErrorOf(GetParam().bytes);
    EXPECT_NE(m.find("注文ファイル「x.csv」"), std::string::npos) << m;
    EXPECT_NE(m.find(GetParam().message), std::string::npos) << m;
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadInput,
    testing::Values(
        BadCase{"Empty", "", "は空です"}, BadCase{"OnlyBlankLines", "\xEF\xBB\xBF\r\n \r\n", "は空です"},
        BadCase{"HeaderOnly", "注文番号,お名前\r\n\r\n", "に注文がありません"},
        BadCase{"Binary", std::string("PK\x03\x04\0\0", 6), "テキストファイルではありません"},
        BadCase{"Utf16",
                "\xFF\xFE"
                "a",
                "UTF-16"},
        // EUC-JP 山田 is also valid CP932 (four half-width katakana): told by the bytes it never uses.
        BadCase{"EucJp", "a,b\n1,\xBB\xB3\xC5\xC4\n", "文字コードを判別できません"},
        BadCase{"NeitherEncoding", "a,b\n1,2\n3,\x81\x20\n", "文字コードを判別できません（3行目）"},
        BadCase{"BrokenUtf8AfterMark",
                "\xEF\xBB\xBF"
                "a\n\xE3\x81\n",
                "（2行目）"},
        // A UTF-8 file with one cell pasted from a Shift_JIS one; the quoted line break keeps row 3 one row.
        BadCase{
            "MostlyUtf8",
            "注文番号,お名前,住所\n1,山田,\"東京都\n千代田区\"\n2,\x8E\x52\x93\x63,大阪府\n3,佐藤,京都府\n",
            "文字コードを判別できません（3行目）。UTF-8の中に別の文字コードの文字があります"},
        BadCase{"BinaryRowCountsQuotedLineBreaks", std::string("a,b\n\"x\ny\",1\n2,\0\n", 16),
                "テキストファイルではありません（3行目に"},
        BadCase{"OpenQuote", "a,b\n1,2\n3,\"4\n5,6\n", "の3行目で引用符"},
        BadCase{"FewerCells", "a,b,c\n1,2,3\n4,5\n",
                "の3行目は列の数が見出しと違います（見出し3列、この行2列）"},
        BadCase{"MoreCells", "a,b\n1,2,3\n", "の2行目は列の数"},
        BadCase{"TooManyColumns", std::string(2000, ',') + "a\n1\n", "見出しの列が多すぎます"}));

TEST(OrderFile, FilesThatCannotBeReadAreNamed) {
    TempDir dir;
    auto errorOf = [](const std::string& path) {
        try {
            ReadOrderTable(path);
            return std::string();
        } catch (const EOrderFile& e) {
            return Message(e);
        }
    };
    EXPECT_EQ(errorOf(dir.File("none.csv")),
              "注文ファイル「" + dir.File("none.csv") + "」を読めません: File not found");
    EXPECT_NE(errorOf(dir.Path().string()).find("通常のファイルではありません"), std::string::npos);
    // A file past the limit is refused by its size, before a byte of it is read.
    std::string big = dir.File("big.csv");
    TempDir::Write(big, "a,b\n");
    std::filesystem::resize_file(big, std::uintmax_t{100} << 20);
    EXPECT_NE(errorOf(big).find("は大きすぎます"), std::string::npos);
    TempDir::Write(dir.File("ok.csv"), "a,b\n1,2\n");
    EXPECT_EQ(ReadOrderTable(dir.File("ok.csv")).rows.size(), 1u);
    // Beyond the small files' limit, within the order files' own.
    std::string large = "a,b\n";
    while (large.size() <= (std::size_t{20} << 20))
        large += "1," + std::string(200, 'x') + "\n";
    TempDir::Write(dir.File("large.csv"), large);
    EXPECT_GT(ReadOrderTable(dir.File("large.csv")).rows.size(), 100000u);
}

} // namespace
