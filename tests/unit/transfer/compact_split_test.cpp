// Compaction of the memo and one-line splitting of a postcode from the address behind it.
#include "TextLiterals.h"
#include "transfer/Compact.h"
#include "transfer/Split.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

TEST(Compact, DropsBlankLinesAndLinesWithMailMarkersKeepingTheOrder) {
    const auto memo = Cp932Lines({"ご注文ありがとうございます", "", "yamada@example.com", "〒123-4567"});
    EXPECT_EQ(ULines(Compact(memo)), (Lines{"ご注文ありがとうございます", "〒123-4567"}));
}

TEST(Compact, MarkersAreExactAndCaseSensitive) {
    const auto memo = Cp932Lines({"https://shop.example.jp/", "www.example.org", "a.ne", "x.co", ".COM",
                                  "ｙａｍａｄａ＠ｅｘａｍｐｌｅ", "株式会社ネット"});
    EXPECT_EQ(ULines(Compact(memo)), (Lines{".COM", "ｙａｍａｄａ＠ｅｘａｍｐｌｅ", "株式会社ネット"}));
}

TEST(Compact, TrimsKeptLinesAndIgnoresEverythingBelowLine16) {
    Lines memo(16, " \t ");
    memo[3] = "  kept\t";
    memo.push_back("line 17");
    memo.push_back("line 18");
    EXPECT_EQ(Compact(memo), (Lines{"kept"}));
    EXPECT_TRUE(Compact(Lines(16, "")).empty());
}

TEST(Compact, KeepsAtMostSixteenLines) {
    Lines memo;
    for (int i = 1; i <= 20; ++i)
        memo.push_back("line " + std::to_string(i));
    const Lines kept = Compact(memo);
    ASSERT_EQ(kept.size(), 16u);
    EXPECT_EQ(kept.back(), "line 16");
}

TEST(SplitOneLine, MovesTheAddressBehindAPostcodeToTheFirstEmptyLineBelow) {
    const auto memo = Cp932Lines({"123-4567東京都千代田区丸の内1-1-1", "山田太郎", ""});
    EXPECT_EQ(ULines(SplitOneLine(memo)),
              (Lines{"123-4567", "山田太郎", "東京都千代田区丸の内1-1-1", "", "", "", ""}));
}

TEST(SplitOneLine, KeepsTheBlankThatFollowedThePostcode) {
    const auto memo = Cp932Lines({"123-4567 東京都千代田区丸の内1-1-1"});
    EXPECT_EQ(ULines(SplitOneLine(memo))[1], " 東京都千代田区丸の内1-1-1");
}

TEST(SplitOneLine, NeedsSevenCharactersBehindTheHead) {
    EXPECT_EQ(ULines(SplitOneLine(Cp932Lines({"123-4567 東京都"})))[0], "123-4567 東京都");
    EXPECT_EQ(ULines(SplitOneLine(Cp932Lines({"03-1234-5678"})))[0], "03-1234-5678");
    // Eight digit-like bytes in front are split whatever they mean.
    EXPECT_EQ(ULines(SplitOneLine(Cp932Lines({"03-1234-5678901"}))),
              (Lines{"03-1234-", "5678901", "", "", "", "", ""}));
}

TEST(SplitOneLine, AFullWidthPostcodeIsNotSplit) {
    const auto memo = Cp932Lines({"１２３－４５６７東京都千代田区"});
    EXPECT_EQ(ULines(SplitOneLine(memo))[0], "１２３－４５６７東京都千代田区");
}

TEST(SplitOneLine, TheRestIsLostWhenNoLineBelowIsEmpty) {
    const auto memo = Cp932Lines({"123-4567東京都港区芝公園4-2-8", "b", "c", "d", "e", "f", "g"});
    EXPECT_EQ(ULines(SplitOneLine(memo)), (Lines{"123-4567", "b", "c", "d", "e", "f", "g"}));
}

TEST(SplitOneLine, APlacedRestIsExaminedInItsTurn) {
    const auto memo = Cp932Lines({"111-1111222-2222港区芝公園4-2-8"});
    EXPECT_EQ(ULines(SplitOneLine(memo)), (Lines{"111-1111", "222-2222", "港区芝公園4-2-8", "", "", "", ""}));
}

TEST(SplitOneLine, TheRestHoldsAtMostEightyBytesAndNoHalfCharacter) {
    std::string line = "123-4567";
    line += std::string(79, 'a');
    line += Cp932FromUtf8("東京"); // 東 straddles the 80-byte limit of the rest
    const Lines out = SplitOneLine(Lines{line});
    EXPECT_EQ(out[0], "123-4567");
    EXPECT_EQ(out[1], std::string(79, 'a'));

    const Lines exact = SplitOneLine(Lines{"123-4567" + std::string(100, 'b')});
    EXPECT_EQ(exact[1], std::string(80, 'b'));
}

TEST(SplitOneLine, AlwaysSevenTrimmedLines) {
    const Lines out = SplitOneLine(Cp932Lines({"  a  ", "b", "c", "d", "e", "f", "g", "h"}));
    EXPECT_EQ(out, (Lines{"a", "b", "c", "d", "e", "f", "g"}));
    EXPECT_EQ(SplitOneLine({}).size(), 7u);
}

} // namespace
