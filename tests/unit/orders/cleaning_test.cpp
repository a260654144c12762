// The cleaning rules an order's values pass on their way into the slip's fields.
#include "orders/OrderCleaning.h"
#include "orders/OrderText.h"

#include <gtest/gtest.h>

namespace {

using namespace orders;

struct CleanCase {
    Cleaned (*rule)(std::string_view);
    const char* in;
    const char* out;
    bool warns;
};

void PrintTo(const CleanCase& c, std::ostream* os) {
    *os << c.in;
}

CleanCase Zip(const char* in, const char* out, bool warns) {
    return {CleanPostcode, in, out, warns};
}
CleanCase Tel(const char* in, const char* out, bool warns) {
    return {CleanPhone, in, out, warns};
}
CleanCase Amount(const char* in, const char* out, bool warns) {
    return {CashOnDeliveryAmount, in, out, warns};
}

class Cleaning : public testing::TestWithParam<CleanCase> {};

TEST_P(Cleaning, GivesTheFieldsTextAndReportsEveryChange) {
    Cleaned r = GetParam().rule(GetParam().in);
    EXPECT_EQ(r.text, GetParam().out);
    EXPECT_EQ(!r.warning.empty(), GetParam().warns) << r.warning;
}

INSTANTIATE_TEST_SUITE_P(
    Postcodes, Cleaning,
    testing::Values(Zip("150-0001", "150-0001", false), Zip(" 150-0001 ", "150-0001", false),
                    Zip("1500001", "150-0001", true), Zip("〒１５０－０００１", "150-0001", true),
                    Zip("'0600042", "060-0042", true), Zip("600042", "060-0042", true),
                    Zip("10012", "001-0012", true), Zip("1001", "1001", true),
                    Zip("12345678", "12345678", true), Zip("150-000A", "150-000A", true), Zip("", "", true)));

INSTANTIATE_TEST_SUITE_P(Phones, Cleaning,
                         testing::Values(Tel("+81 90-1234-5678", "090-1234-5678", true),
                                         Tel("+81-3-1234-5678", "03-1234-5678", true),
                                         Tel("+81 (0)3 1234 5678", "03-1234-5678", true),
                                         Tel("＋８１９０１２３４５６７８", "09012345678", true),
                                         Tel("9012345678", "09012345678", true),
                                         Tel("3-1234-5678", "03-1234-5678", true),
                                         Tel("03-1234-5678", "03-1234-5678", false),
                                         Tel("０３－１２３４－５６７８", "０３－１２３４－５６７８", false),
                                         Tel("1234", "1234", false), Tel("内線 12", "内線 12", false),
                                         Tel("", "", false)));

INSTANTIATE_TEST_SUITE_P(CashOnDeliveryAmounts, Cleaning,
                         testing::Values(Amount("12800", "12800", false), Amount("12,800", "12800", true),
                                         Amount("¥12,800", "12800", true), Amount("2,160円", "2160", true),
                                         Amount("１２８００", "12800", true), Amount("3980.00", "3980", true),
                                         Amount("3980.50", "0", true), Amount("-100", "0", true),
                                         Amount("=H2*3000", "0", true), Amount("12345678", "0", true),
                                         Amount("0", "0", false), Amount("", "0", true)));

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
