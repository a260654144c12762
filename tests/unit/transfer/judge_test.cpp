// Prefecture, address or name.
#include "TextLiterals.h"
#include "transfer/Judge.h"

#include <gtest/gtest.h>

namespace {

LineKind Judge(std::string_view utf8) {
    return JudgeLine(Cp932FromUtf8(utf8));
}

TEST(JudgeLine, APrefectureNameAloneIsAPrefecture) {
    EXPECT_EQ(Judge("沖縄県"), LineKind::Prefecture);
    EXPECT_EQ(Judge("  北海道 "), LineKind::Prefecture);
    EXPECT_EQ(Judge("神奈川県"), LineKind::Prefecture);
    EXPECT_EQ(Judge("鹿児島県"), LineKind::Prefecture);
    EXPECT_EQ(Judge("東京"), LineKind::Name);
    EXPECT_EQ(Judge("東京都　"), LineKind::Name); // the ideographic space is not trimmed
}

TEST(JudgeLine, AMarkerInSevenCharactersOrMoreMakesAnAddress) {
    EXPECT_EQ(Judge("沖縄県那覇市泉崎"), LineKind::Address);
    EXPECT_EQ(Judge("沖縄県那覇市"), LineKind::Name);
    EXPECT_EQ(Judge("市川商事株式会社"), LineKind::Address);
    EXPECT_EQ(Judge("FUJITA TARO"), LineKind::Address);
    EXPECT_EQ(Judge("FAX 03-1234-5679"), LineKind::Address);
    EXPECT_EQ(Judge("1234567"), LineKind::Address);
    EXPECT_EQ(Judge("ｻﾝｼｬｲﾝﾏﾝｼｮﾝ"), LineKind::Address);
    EXPECT_EQ(Judge("みどり小学校うら"), LineKind::Address);
    EXPECT_EQ(Judge("局留めでおねがい"), LineKind::Address);
}

TEST(JudgeLine, ShortLinesAndLinesWithoutMarkersAreNames) {
    EXPECT_EQ(Judge("町田 太郎"), LineKind::Name);
    EXPECT_EQ(Judge("村上"), LineKind::Name);
    EXPECT_EQ(Judge("中村 花子"), LineKind::Name);
    EXPECT_EQ(Judge("株式会社山田商事"), LineKind::Name);
    EXPECT_EQ(Judge("yamada taro"), LineKind::Name); // lower case: no "F"
    EXPECT_EQ(Judge("ヤマダ　タロウ　サマ"), LineKind::Name);
    EXPECT_EQ(Judge(""), LineKind::Name);
}

TEST(JudgeLine, MarkersCountOnlyOnCharacterBoundaries) {
    // ェ is 0x83 0x46: its trail byte is the byte of "F", but no marker starts there.
    EXPECT_EQ(Judge("ェェェェェェェ"), LineKind::Name);
    EXPECT_EQ(Judge("ェェェェェェF"), LineKind::Address);
}

} // namespace
