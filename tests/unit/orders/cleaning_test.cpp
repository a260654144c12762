// The cleaning rules an order's values pass on their way into the slip's fields.
#include "orders/Delivery.h"
#include "orders/OrderCleaning.h"
#include "orders/OrderText.h"
#include "orders/Promotion.h"

#include <gtest/gtest.h>

namespace {

using namespace orders;

// What a rule tells: nothing, a note (a rewrite that keeps the meaning) or a problem.
enum Tells { None, Note, Problem };

struct CleanCase {
    Cleaned (*rule)(std::string_view);
    const char* in;
    const char* out;
    Tells tells;
};

void PrintTo(const CleanCase& c, std::ostream* os) {
    *os << c.in;
}

CleanCase Zip(const char* in, const char* out, Tells tells) {
    return {CleanPostcode, in, out, tells};
}
CleanCase Tel(const char* in, const char* out, Tells tells) {
    return {CleanPhone, in, out, tells};
}
CleanCase Amount(const char* in, const char* out, Tells tells) {
    return {CashOnDeliveryAmount, in, out, tells};
}

class Cleaning : public testing::TestWithParam<CleanCase> {};

TEST_P(Cleaning, GivesTheFieldsTextAndReportsEveryChange) {
    Cleaned r = GetParam().rule(GetParam().in);
    EXPECT_EQ(r.text, GetParam().out);
    Tells told = r.warning.empty() ? None : r.severity == Severity::Problem ? Problem : Note;
    EXPECT_EQ(told, GetParam().tells) << r.warning;
}

INSTANTIATE_TEST_SUITE_P(Postcodes, Cleaning,
                         testing::Values(Zip("150-0001", "150-0001", None),
                                         Zip(" 150-0001 ", "150-0001", None),
                                         Zip("1500001", "150-0001", Note),
                                         Zip("〒１５０－０００１", "150-0001", Note),
                                         Zip("'0600042", "060-0042", Note), Zip("600042", "060-0042", Note),
                                         Zip("10012", "001-0012", Note), Zip("1001", "1001", Problem),
                                         Zip("12345678", "12345678", Problem),
                                         Zip("150-000A", "150-000A", Problem), Zip("", "", Problem)));

INSTANTIATE_TEST_SUITE_P(Phones, Cleaning,
                         testing::Values(Tel("+81 90-1234-5678", "090-1234-5678", Note),
                                         Tel("+81-3-1234-5678", "03-1234-5678", Note),
                                         Tel("+81 (0)3 1234 5678", "03-1234-5678", Note),
                                         Tel("＋８１９０１２３４５６７８", "09012345678", Note),
                                         Tel("9012345678", "09012345678", Note),
                                         Tel("3-1234-5678", "03-1234-5678", Note),
                                         Tel("03-1234-5678", "03-1234-5678", None),
                                         Tel("０３－１２３４－５６７８", "０３－１２３４－５６７８", None),
                                         Tel("1234", "1234", None), Tel("内線 12", "内線 12", None),
                                         Tel("", "", None)));

// Seven digits are the field's whole width: kept; an eighth is refused, never cut.
INSTANTIATE_TEST_SUITE_P(CashOnDeliveryAmounts, Cleaning,
                         testing::Values(Amount("12800", "12800", None), Amount("12,800", "12800", Note),
                                         Amount("¥12,800", "12800", Note), Amount("2,160円", "2160", Note),
                                         Amount("１２８００", "12800", Note), Amount("3980.00", "3980", Note),
                                         Amount("9999999", "9999999", None),
                                         Amount("9,999,999円", "9999999", Note),
                                         Amount("3980.50", "0", Problem), Amount("-100", "0", Problem),
                                         Amount("=H2*3000", "0", Problem), Amount("12345678", "0", Problem),
                                         Amount("10,000,000", "0", Problem), Amount("0", "0", None),
                                         Amount("", "0", Problem)));

TEST(CashOnDelivery, IsTold) {
    for (const char* yes : {"代金引換", "代引き", "代引", "Cash on Delivery (COD)", "cod", "COD"})
        EXPECT_TRUE(IsCashOnDelivery(yes)) << yes;
    for (const char* no : {"クレジットカード決済", "銀行振込", "元払", "Credit Card", "Codes", "encode"})
        EXPECT_FALSE(IsCashOnDelivery(no)) << no;
}

TEST(Prefecture, CodesBecomeNames) {
    EXPECT_EQ(PrefectureName("JP-13"), "東京都");
    EXPECT_EQ(PrefectureName("01"), "北海道");
    EXPECT_EQ(PrefectureName("47"), "沖縄県");
    EXPECT_EQ(PrefectureName("48"), "48");
    EXPECT_EQ(PrefectureName(" 大阪府 "), "大阪府");
}

struct AddressCase {
    const char* name;
    const char* prefecture;
    std::vector<std::string> parts;
    const char* building;
    const char* company;
    const char *add1, *add2, *add3;
    std::size_t warnings;
};

void PrintTo(const AddressCase& c, std::ostream* os) {
    *os << c.name;
}

class Addresses : public testing::TestWithParam<AddressCase> {};

TEST_P(Addresses, AreLaidOutOnThreeLines) {
    const AddressCase& c = GetParam();
    AddressLines a = LayoutAddress(c.prefecture, c.parts, c.building, c.company);
    EXPECT_EQ(a.add1, c.add1);
    EXPECT_EQ(a.add2, c.add2);
    EXPECT_EQ(a.add3, c.add3);
    EXPECT_EQ(a.warnings.size(), c.warnings);
    EXPECT_LE(Cp932Bytes(a.add1), a.add2.empty() ? 999u : kAddressLineBytes);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Addresses,
    testing::Values(
        AddressCase{
            "ShortJoined", "東京都", {"新宿区", "新宿3-1-1"}, "", "", "東京都新宿区新宿3-1-1", "", "", 0},
        AddressCase{"PrefectureNotRepeated",
                    "東京都",
                    {"東京都新宿区新宿3-1-1"},
                    "",
                    "",
                    "東京都新宿区新宿3-1-1",
                    "",
                    "",
                    0},
        AddressCase{"BuildingOnLineTwo",
                    "JP-01",
                    {"札幌市中央区", "北一条西2丁目1-1"},
                    "札幌ビル8F",
                    "",
                    "北海道札幌市中央区北一条西2丁目1-1",
                    "札幌ビル8F",
                    "",
                    0},
        AddressCase{"SplitAfterTheNumberAtABlank",
                    "神奈川県",
                    {"横浜市港北区", "新横浜二丁目15番地10 新横浜スクエアビル5階"},
                    "",
                    "",
                    "神奈川県横浜市港北区新横浜二丁目15番地10",
                    "新横浜スクエアビル5階",
                    "",
                    1},
        AddressCase{"SplitBeforeABuildingWithoutABlank",
                    "",
                    {"北海道札幌市中央区南1条西2丁目1-1アパートメント札幌101"},
                    "",
                    "",
                    "北海道札幌市中央区南1条西2丁目1-1",
                    "アパートメント札幌101",
                    "",
                    1},
        AddressCase{"NoBoundaryInReach",
                    "",
                    {"ああああああああああああああああああああああ"},
                    "",
                    "",
                    "ああああああああああああああああああああああ",
                    "",
                    "",
                    1},
        AddressCase{"CompanyOnLineThree",
                    "大阪府",
                    {"大阪市北区梅田1-1-3"},
                    "",
                    "株式会社サンプル",
                    "大阪府大阪市北区梅田1-1-3",
                    "",
                    "株式会社サンプル",
                    1},
        AddressCase{"LongLineTwoGoesOnToThree",
                    "東京都",
                    {"千代田区丸の内1-9-1"},
                    "グラントウキョウノースタワー 株式会社サンプル商事東京本社 営業部",
                    "",
                    "東京都千代田区丸の内1-9-1",
                    "グラントウキョウノースタワー",
                    "株式会社サンプル商事東京本社 営業部",
                    1}));

TEST(AddressCut, CutsOnlyWithinTheLimit) {
    EXPECT_EQ(AddressCut(std::string(40, 'a') + " b", {}, 40), 40u);
    EXPECT_EQ(AddressCut(std::string(41, 'a') + " b", {}, 40), 0u);
    std::string s;
    for (int i = 0; i < 19; ++i)
        s += "\x8A\xBF"; // 漢
    s += "1 \x8A\xBF";   // a house number ending at byte 39, then a blank
    EXPECT_EQ(AddressCut(s, {}, 40), 39u);
    EXPECT_EQ(AddressCut(s, {}, 38), 0u);
    EXPECT_EQ(AddressCut(s, {4}, 38), 4u); // where two parts meet
}

TEST(Goods, FirstThreeNamesCutAtTheFieldsLimit) {
    GoodsLines g = LayoutGoods({"煎茶", " ", "急須 常滑焼 朱泥 平型 特大サイズ 380ml", "抹茶", "茶筒"});
    EXPECT_EQ(g.g1, "煎茶");
    EXPECT_EQ(g.g2, "急須 常滑焼 朱泥 平型 特大サイ");
    EXPECT_EQ(g.g3, "抹茶");
    EXPECT_EQ(Cp932Bytes(g.g2), 30u);
    EXPECT_EQ(g.warnings.size(), 2u); // the cut and the fourth item
}

TEST(Goods, CharactersCp932CannotHoldCountAsTheirQuestionMark) {
    std::string name = "𠮷"; // one "?" on the slip
    for (int i = 0; i < 14; ++i)
        name += "あ";
    name += "い";
    EXPECT_EQ(Cp932Bytes(name), 31u);
    EXPECT_EQ(CutToCp932Bytes(name, kGoodsLineBytes), name.substr(0, name.size() - 3));
    EXPECT_EQ(Unencodable("𠮷田 髙橋 ①"), std::vector<std::string>{"𠮷"});
}

} // namespace

namespace {

// A zero-width space and a direction mark are dropped on the way to CP932: they take no byte and never
// shift which character a message names or where a line is cut.
TEST(Cp932Measure, FormatCharactersTakeNoRoom) {
    const std::string zw = "\u200B\u200E";
    EXPECT_EQ(Unencodable(zw + "山" + zw + "𠮷田"), std::vector<std::string>{"𠮷"});
    std::string name = zw;
    for (int i = 0; i < 15; ++i)
        name += "あ";
    EXPECT_EQ(Cp932Bytes(name), 30u);
    EXPECT_EQ(CutToCp932Bytes(name + "い", kGoodsLineBytes), name);
    EXPECT_EQ(Utf8Offset(zw + "あい", 2), zw.size() + std::string("あ").size());
}

struct Promo {
    const char* in;
    const char* out;
};

TEST(Promotion, IsDroppedFromGoodsNamesWhatDescribesTheGoodsStays) {
    const Promo cases[] = {
        {"【送料無料】国産はちみつ 1kg", "国産はちみつ 1kg"},
        {"【楽天スーパーSALE】【ポイント10倍】緑茶", "緑茶"},
        {"★大人気★ 有機緑茶　100g", "有機緑茶　100g"},
        {"ほうじ茶 ［P5倍］ ティーバッグ", "ほうじ茶 ティーバッグ"},
        {"◆玄米茶◆", "玄米茶"},
        {"【冷凍】【3個セット】餃子", "【冷凍】【3個セット】餃子"},
        {"果汁100% ジュース", "果汁100% ジュース"},
        {"【送料無料】", "【送料無料】"}, // nothing would be left
    };
    for (const Promo& c : cases)
        EXPECT_EQ(WithoutPromotion(c.in), c.out) << c.in;
    GoodsLines g = LayoutGoods({"【送料無料】国産はちみつ 1kg 特選 百花蜜 ギフト箱入り"});
    EXPECT_EQ(g.g1, "国産はちみつ 1kg 特選 百花蜜"); // dropped before the cut: the name keeps its words
    ASSERT_EQ(g.warnings.size(), 2u);
    EXPECT_EQ(g.warnings[0].severity, Severity::Note);
}

struct Day {
    const char* in;
    const char* out;
    bool readable;
};

TEST(Delivery, DaysAndSlotsInEverySpellingAndFromNotes) {
    const Day days[] = {{"2024-12-10", "2024-12-10", true},
                        {"2024/12/10 (火)", "2024-12-10", true},
                        {"2024年12月10日", "2024-12-10", true},
                        {"20241210", "2024-12-10", true},
                        {"12/10", "12-10", true},
                        {"１２月１０日", "12-10", true},
                        {"指定なし", "", true},
                        {"設定なし", "", true},
                        {"来週", "来週", false},
                        {"2024-13-40", "2024-13-40", false}};
    for (const Day& d : days) {
        bool readable = !d.readable;
        EXPECT_EQ(DeliveryDate(d.in, readable), d.out) << d.in;
        EXPECT_EQ(readable, d.readable) << d.in;
    }
    const std::pair<const char*, const char*> slots[] = {
        {"午前中", "午前中"},        {"0812", "午前中"},       {"14-16", "14-16時"},
        {"14:00～16:00", "14-16時"}, {"14時-16時", "14-16時"}, {"１４～１６時", "14-16時"},
        {"1921", "19-21時"},         {"指定なし", ""},         {"夜間", "夜間"}};
    for (const auto& [in, out] : slots)
        EXPECT_EQ(DeliveryTime(in), out) << in;
    EXPECT_EQ(DeliveryFromNote("12月10日 午前中着希望です"), (orders::Delivery{"12-10", "午前中"}));
    EXPECT_EQ(DeliveryFromNote("14時～16時の配達でお願いします"), (orders::Delivery{"", "14-16時"}));
    EXPECT_TRUE(DeliveryFromNote("のし紙をお願いします 12/10").Empty()); // no word of asking for a day
    EXPECT_EQ(DeliveryText({"2024-12-10", "14-16時"}), "お届け日指定: 12/10 14-16時");
    EXPECT_EQ(DeliveryText({}), "");
}

} // namespace
