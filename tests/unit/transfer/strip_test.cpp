// Heading-word stripping: the removal pass, TrimWide, the numeric lead and whole lines.
#include "TextLiterals.h"
#include "transfer/Strip.h"

#include <gtest/gtest.h>

namespace {

std::string Strip(std::string_view utf8) {
    return Utf8FromCp932(StripLine(Cp932FromUtf8(utf8)));
}

TEST(RemoveAll, OnePassLeftToRightWithoutRescanningJoinedPieces) {
    EXPECT_EQ(RemoveAll("TTELEL", "TEL"), "TEL");
    EXPECT_EQ(RemoveAll("aTELbTELc", "TEL"), "abc");
    EXPECT_EQ(RemoveAll("", "TEL"), "");
    EXPECT_EQ(RemoveAll("TEL", ""), "TEL");
}

TEST(RemoveAll, MatchesOnlyOnCharacterBoundaries) {
    // ソ ends in 0x5C; the colon after it is a character of its own.
    EXPECT_EQ(Utf8FromCp932(RemoveAll(Cp932FromUtf8("ソ:"), ":")), "ソ");
    // "表" is 0x95 0x5C; a 0x5C pattern must not cut it in half.
    EXPECT_EQ(Utf8FromCp932(RemoveAll(Cp932FromUtf8("表\\"), "\\")), "表");
    // A lone lead byte at the end is kept.
    EXPECT_EQ(RemoveAll("a:\x81", ":"), "a\x81");
}

TEST(TrimWide, RemovesBlanksAndIdeographicSpacesAtBothEnds) {
    EXPECT_EQ(Utf8FromCp932(TrimWide(Cp932FromUtf8(" 　 山田　太郎　 "))), "山田　太郎");
    EXPECT_EQ(Utf8FromCp932(TrimWide(Cp932FromUtf8("　　　"))), "");
    EXPECT_EQ(Utf8FromCp932(TrimWide(Cp932FromUtf8("\t　a　\t"))), "a");
    // A control character between ideographic spaces stops the skipping.
    EXPECT_EQ(Utf8FromCp932(TrimWide(Cp932FromUtf8("a　\t　"))), "a　\t");
    EXPECT_EQ(Utf8FromCp932(TrimWide(Cp932FromUtf8("　\t　a"))), "\t　a");
}

TEST(TrimWide, NeverTakesATrailByteForPartOfASpace) {
    // 0x81 0x81 0x40: the first two bytes are one character, so no ideographic space ends this text.
    EXPECT_EQ(TrimWide("\x81\x81\x40"), "\x81\x81\x40");
}

TEST(NumericLead, TakesTheNumberAtTheStartAsANumericFieldWould) {
    EXPECT_EQ(NumericLead("123-4567"), "123");
    EXPECT_EQ(NumericLead(Cp932FromUtf8("１２３－４５６７")), "123");
    EXPECT_EQ(NumericLead("03-1234-5678"), "3");
    EXPECT_EQ(NumericLead("090-1234"), "90");
    EXPECT_EQ(NumericLead("1,000"), "1000");
    EXPECT_EQ(NumericLead("-12"), "-12");
    EXPECT_EQ(NumericLead("0.5kg"), "0.5");
    EXPECT_EQ(NumericLead("1234567890"), ""); // more than nine integer digits
    EXPECT_EQ(NumericLead(Cp932FromUtf8("東京都1")), "");
    EXPECT_EQ(NumericLead(""), "");
}

TEST(StripLine, RemovesHeadingWordsColonsAndHonorifics) {
    EXPECT_EQ(Strip("お届け先：〒123-4567"), "123-4567");
    EXPECT_EQ(Strip("お名前：山田太郎 様"), "山田太郎");
    EXPECT_EQ(Strip("お名前　山田太郎"), "山田太郎");
    EXPECT_EQ(Strip("TEL：03-1234-5678"), "03-1234-5678");
    EXPECT_EQ(Strip("お電話番号：03-1234-5678"), "03-1234-5678");
    EXPECT_EQ(Strip("℡ 090-1234-5678"), "090-1234-5678");
    EXPECT_EQ(Strip("住所１：東京都港区"), "東京都港区");
    EXPECT_EQ(Strip("住所2:大阪府"), "大阪府");
    EXPECT_EQ(Strip("おところ：札幌市"), "札幌市");
    EXPECT_EQ(Strip("ゆうびんばんごう　〒１２３－４５６７"), "123-4567");
}

TEST(StripLine, RemovesHeadingWordsInsideValuesToo) {
    EXPECT_EQ(Strip("Hotel Sakura"), "Ho Sakura");
    EXPECT_EQ(Strip("10:00-12:00"), "1000-1200");
    EXPECT_EQ(Strip("TTELEL"), "");
    EXPECT_EQ(Strip("Ｔｅｌ/ｔｅｌ/ＴＥＬ"), "//");
}

TEST(StripLine, HeadingShapesGoWithTheirWords) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"【お届け先】", ""},
        {"[お届け先]", ""},
        {"■お届け先", ""},
        {"◆ ご住所：東京都港区", "東京都港区"},
        {"●お名前　山田太郎 様", "山田太郎"},
        {"＜お届け先＞", ""},
        {"《 お名前 》佐藤花子", "佐藤花子"},
        {"【お届け先】〒１２３－４５６７", "123-4567"},
        {"（株）山田商事", "（株）山田商事"}, // a bracket with something in it is a value
        {"【送料無料】", "【送料無料】"},
        {"山田【様】", "山田【】"}, // only a heading's shape at the start goes
    };
    for (const auto& [line, stripped] : cases)
        EXPECT_EQ(Strip(line), stripped) << line;
}

TEST(StripLine, FoldsOnlyLinesThatBeginWithANumberOfThreeCharacters) {
    EXPECT_EQ(Strip("ＴＥＬ：０３－１２３４－５６７８"), "０３－１２３４－５６７８");
    EXPECT_EQ(Strip("住所２：東京都港区１－２－３"), "東京都港区１－２－３");
    EXPECT_EQ(Strip("１２３－４５６７　東京都港区"), "123-4567 東京都港区");
    EXPECT_EQ(Strip("１０００番地　アパート"), "1000番地 ｱﾊﾟｰﾄ");
    EXPECT_EQ(Strip("12 アパート"), "12 アパート");
}

TEST(StripLines, AlwaysSevenLinesAndTheSeventhIsTreatedLikeTheOthers) {
    const auto memo = Cp932Lines({"お名前：山田", "", "a", "b", "c", "d", "アパート", "eight", "nine"});
    const auto lines = ULines(StripLines(memo));
    EXPECT_EQ(lines, (std::vector<std::string>{"山田", "", "a", "b", "c", "d", "アパート"}));
    EXPECT_EQ(StripLines({}).size(), 7u);
    EXPECT_EQ(ULines(StripLines(Cp932Lines({"　　　"}))), std::vector<std::string>(7));
}

} // namespace
