// Counting, postcode and telephone recognition, and the fold the transfer applies to both.
#include "TextLiterals.h"
#include "transfer/ZipTel.h"

#include <gtest/gtest.h>

namespace {

TEST(CountOccurrences, CountsNonOverlappingMatchesAfterEachOther) {
    EXPECT_EQ(CountOccurrences("0120-0000", "0"), 6u);
    EXPECT_EQ(CountOccurrences(Cp932FromUtf8("ｶﾞｶﾞ"), Cp932FromUtf8("ｶﾞ")), 2u);
    EXPECT_EQ(CountOccurrences("aaaa", "aa"), 2u);
    EXPECT_EQ(CountOccurrences("aaa", "aa"), 1u);
}

TEST(CountOccurrences, WidthCaseAndKanaKindAreSignificant) {
    EXPECT_EQ(CountOccurrences(Cp932FromUtf8("００"), "0"), 0u);
    EXPECT_EQ(CountOccurrences(Cp932FromUtf8("Ｆ"), "F"), 0u);
    EXPECT_EQ(CountOccurrences("TEL", "tel"), 0u);
    EXPECT_EQ(CountOccurrences(Cp932FromUtf8("びる"), Cp932FromUtf8("ビル")), 0u);
}

TEST(CountOccurrences, NeverMatchesOnTheSecondByteOfADoubleByteCharacter) {
    EXPECT_EQ(CountOccurrences(Cp932FromUtf8("ー"), "["), 0u);  // ー is 0x81 0x5B
    EXPECT_EQ(CountOccurrences(Cp932FromUtf8("表"), "\\"), 0u); // 表 is 0x95 0x5C
    EXPECT_EQ(CountOccurrences(Cp932FromUtf8("ソ表["), "["), 1u);
    // A two-byte pattern must not start between the halves of two neighbours either.
    EXPECT_EQ(CountOccurrences("\x82\x82\x4F", "\x82\x4F"), 0u);
}

TEST(CountOccurrences, StopsAtAZeroByteAndNeverReadsPastTheEnd) {
    EXPECT_EQ(CountOccurrences(std::string("11\0"
                                           "11",
                                           5),
                               "1"),
              2u);
    EXPECT_EQ(CountOccurrences("1\x82", "1"), 1u);       // lone lead byte at the end
    EXPECT_EQ(CountOccurrences("\x82", "\x82\x4F"), 0u); // pattern longer than what is left
    EXPECT_EQ(CountOccurrences("", "1"), 0u);
    EXPECT_EQ(CountOccurrences("abc", ""), 0u);
}

struct Case {
    const char* text;
    ZipTel kind;
};

class ClassifyZipTelCases : public testing::TestWithParam<Case> {};

TEST_P(ClassifyZipTelCases, Classifies) {
    EXPECT_EQ(ClassifyZipTel(Cp932FromUtf8(GetParam().text)), GetParam().kind) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Postcodes, ClassifyZipTelCases,
    testing::Values(Case{"123-4567", ZipTel::Postcode}, Case{"１２３－４５６７", ZipTel::Postcode},
                    Case{"1234-567", ZipTel::Postcode}, Case{"12345678", ZipTel::Postcode},
                    Case{"  123-4567\t", ZipTel::Postcode}, Case{"1234567", ZipTel::Neither},
                    Case{"123-45678", ZipTel::Neither}, Case{"　123-4567", ZipTel::Neither},
                    Case{"123ー4567", ZipTel::Neither}, Case{"123‐4567", ZipTel::Neither},
                    Case{"", ZipTel::Neither}));

INSTANTIATE_TEST_SUITE_P(
    Phones, ClassifyZipTelCases,
    testing::Values(Case{"03-1234-5678", ZipTel::Phone}, Case{"0312345678", ZipTel::Phone},
                    Case{"090-1234-5678", ZipTel::Phone}, Case{"０３－１２３４－５６７８", ZipTel::Phone},
                    Case{"03-1234-5678内", ZipTel::Phone}, Case{"03-1234-5678 ", ZipTel::Phone},
                    Case{"03ー1234ー5678", ZipTel::Neither}, Case{"03-1234-5678内線", ZipTel::Neither},
                    Case{"03-1234-5678 内", ZipTel::Neither}, Case{"(03)1234-5678", ZipTel::Neither},
                    Case{"03 1234 5678", ZipTel::Neither}, Case{"TEL03-1234-5678", ZipTel::Neither},
                    Case{"123456789", ZipTel::Neither}));

TEST(ClassifyZipTel, BrokenBytesAreOtherCharacters) {
    EXPECT_EQ(ClassifyZipTel("1234567\x82"), ZipTel::Neither); // lone lead byte: 8 chars, 7 digits
    EXPECT_EQ(ClassifyZipTel("123456789\x82"), ZipTel::Phone); // one other character allowed
    EXPECT_EQ(ClassifyZipTel(std::string("123-4567\0"
                                         "9",
                                         10)),
              ZipTel::Neither);
}

TEST(FoldToHalfWidth, FoldsAnAddressLineAndKeepsKanji) {
    EXPECT_EQ(Utf8FromCp932(FoldToHalfWidth(Cp932FromUtf8("東京都港区１－２－３　アパート２０１"))),
              "東京都港区1-2-3 ｱﾊﾟｰﾄ201");
    EXPECT_EQ(Utf8FromCp932(FoldToHalfWidth(Cp932FromUtf8("１２３－４５６７"))), "123-4567");
    EXPECT_EQ(Utf8FromCp932(FoldToHalfWidth(Cp932FromUtf8("（０３）１２３４－５６７８"))), "(03)1234-5678");
}

TEST(FoldToHalfWidth, FoldsTextsLongerThan255BytesWhole) {
    std::string in;
    for (int i = 0; i < 300; ++i)
        in += Cp932FromUtf8("ガ");
    const std::string out = FoldToHalfWidth(in);
    EXPECT_EQ(out.size(), 600u);
    EXPECT_EQ(CountOccurrences(out, Cp932FromUtf8("ｶﾞ")), 300u);
}

} // namespace
