// The tolerant address check on the hand-made data set.
#include "SampleData.h"
#include "postcode/Check.h"

#include <gtest/gtest.h>

using postcode::CheckKind;

namespace {

struct Case {
    const char* what;
    const char* zip;
    const char* address;
    CheckKind kind;
    const char* expected;
};

const Case kCases[] = {
    {"exact", "5300001", "大阪府大阪市北区梅田1-1-3", CheckKind::Match, "大阪府大阪市北区梅田"},
    {"hyphen and full-width code", "５３０－０００１", "大阪府大阪市北区梅田", CheckKind::Match,
     "大阪府大阪市北区梅田"},
    {"prefecture left out", "530-0001", "大阪市北区梅田1丁目", CheckKind::Match, "大阪府大阪市北区梅田"},
    {"blanks", "5300001", "大阪府　大阪市北区 梅田 １－１", CheckKind::Match, "大阪府大阪市北区梅田"},
    {"other town", "5300001", "大阪府大阪市北区曽根崎1", CheckKind::Mismatch, "大阪府大阪市北区梅田"},
    {"other city", "5300001", "大阪府大阪市中央区梅田", CheckKind::Mismatch, "大阪府大阪市北区梅田"},
    {"empty address", "5300001", "", CheckKind::Mismatch, "大阪府大阪市北区梅田"},
    {"unknown code", "1234567", "大阪府大阪市北区梅田", CheckKind::UnknownZip, ""},
    {"not a code", "53000", "大阪府大阪市北区梅田", CheckKind::NoZip, ""},
    {"ケ as ヶ", "0040805", "北海道札幌市清田区里塚緑ヶ丘1-1", CheckKind::Match,
     "北海道札幌市清田区里塚緑ケ丘"},
    {"ケ as が", "0040805", "札幌市清田区里塚緑が丘", CheckKind::Match, "北海道札幌市清田区里塚緑ケ丘"},
    {"ケ as ｹ", "0040805", "札幌市清田区里塚緑ｹ丘", CheckKind::Match, "北海道札幌市清田区里塚緑ケ丘"},
    {"之 as ノ", "6020837", "京都市上京区下塔ノ段町", CheckKind::Match, "京都府京都市上京区下塔之段町"},
    {"之 as の", "6020837", "京都市上京区下塔の段町", CheckKind::Match, "京都府京都市上京区下塔之段町"},
    {"digits for 丁目", "9990003", "札幌市東区東12丁目3-4", CheckKind::Match, "北海道札幌市東区東十二丁目"},
    {"digits for 条", "0017777", "札幌市北区北29条西4丁目", CheckKind::Match, "北海道札幌市北区北二十九条西"},
    {"without 大字", "9990001", "秋田県大仙市小川1", CheckKind::Match, "秋田県大仙市大字小川"},
    {"with 大字", "9990002", "秋田県大仙市大字中野1", CheckKind::Match, "秋田県大仙市中野"},
    {"with 字", "9990002", "秋田県大仙市字中野", CheckKind::Match, "秋田県大仙市中野"},
    {"Kyoto 上ル", "6008023", "京都市下京区河原町通松原上ル富永町338", CheckKind::Match,
     "京都府京都市下京区富永町"},
    {"Kyoto 上る and chōme", "6008023", "京都市下京区河原町通松原上る二丁目富永町", CheckKind::Match,
     "京都府京都市下京区富永町"},
    {"Kyoto 東入ル", "6008023", "京都府京都市下京区松原通河原町東入ル富永町", CheckKind::Match,
     "京都府京都市下京区富永町"},
    {"Kyoto 西入", "6008023", "京都市下京区松原通河原町西入富永町", CheckKind::Match,
     "京都府京都市下京区富永町"},
    {"Kyoto 下る", "6008023", "京都市下京区河原町通松原下る富永町", CheckKind::Match,
     "京都府京都市下京区富永町"},
    {"Kyoto direction, other town", "6008023", "京都市下京区河原町通松原上る橘町", CheckKind::Mismatch,
     "京都府京都市下京区富永町"},
    {"chōme in range", "0600042", "札幌市中央区大通西19丁目1", CheckKind::Match, "北海道札幌市中央区大通西"},
    {"chōme in kanji in range", "0600042", "札幌市中央区大通西十九丁目", CheckKind::Match,
     "北海道札幌市中央区大通西"},
    {"chōme out of range", "0600042", "札幌市中央区大通西20丁目", CheckKind::Mismatch,
     "北海道札幌市中央区大通西"},
    {"chōme of the other code", "0640820", "札幌市中央区大通西20-1", CheckKind::Match,
     "北海道札幌市中央区大通西"},
    {"no chōme named", "0640820", "札幌市中央区大通西", CheckKind::Match, "北海道札幌市中央区大通西"},
    {"empty town: any town", "0010000", "北海道札幌市北区新琴似1", CheckKind::Match, "北海道札幌市北区"},
    {"empty town: other city", "0010000", "北海道札幌市東区新琴似1", CheckKind::Mismatch, "北海道札幌市北区"},
    {"several towns: second", "4520961", "愛知県清須市春日一番割1", CheckKind::Match,
     "愛知県清須市春日一番割"},
    {"several towns: none", "4520961", "愛知県清須市西枇杷島町", CheckKind::Mismatch,
     "愛知県清須市春日明河原"},
    {"two prefectures", "4980000", "三重県桑名郡木曽岬町西対海地", CheckKind::Match, "三重県桑名郡木曽岬町"},
    {"business: street", "1008370", "東京都千代田区大手町2-6-4", CheckKind::Match, "東京都千代田区大手町"},
    {"business: street in kanji", "1008370", "千代田区大手町二丁目六番四号 ビル", CheckKind::Match,
     "東京都千代田区大手町"},
    {"business: street with 番地", "1008370", "千代田区大手町2丁目6番地4", CheckKind::Match,
     "東京都千代田区大手町"},
    {"business: other house", "1008370", "千代田区大手町2-6-41", CheckKind::Mismatch, "東京都千代田区大手町"},
    {"business: town only", "1008370", "東京都千代田区大手町", CheckKind::Mismatch, "東京都千代田区大手町"},
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.what;
}

class CheckTest : public ::testing::TestWithParam<Case> {
protected:
    static void SetUpTestSuite() { index = OpenSample(*dir).release(); }
    static void TearDownTestSuite() {
        delete index;
        delete dir;
    }
    static inline TempDir* dir = new TempDir;
    static inline postcode::Index* index = nullptr;
};

TEST_P(CheckTest, Result) {
    const Case& c = GetParam();
    const postcode::CheckResult r =
        postcode::CheckAddress(*index, Cp932FromUtf8(c.zip), Cp932FromUtf8(c.address));
    EXPECT_EQ(postcode::CheckKindName(r.kind), postcode::CheckKindName(c.kind)) << c.what;
    EXPECT_EQ(r.expected, Cp932FromUtf8(c.expected)) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Tolerances, CheckTest, ::testing::ValuesIn(kCases));

} // namespace
