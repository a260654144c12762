// Whole exports made by hand in the shapes shops meet (tests/unit/orders/data), read into orders.
#include "orders/Orders.h"
#include "platform/Cp932Codec.h"
#include "unit/support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

using namespace orders;

std::string Data(const char* name) {
    return (std::filesystem::path(__FILE__).parent_path() / "data" / name).string();
}

std::vector<std::string> Refs(const std::vector<Order>& orders) {
    std::vector<std::string> refs;
    for (const Order& o : orders)
        refs.push_back(o.ref);
    return refs;
}

std::vector<Order> Import(const std::string& path, const std::string& mappingIni = "") {
    ImportOptions options;
    options.mappingIni = mappingIni;
    return ImportOrders(path, options).orders;
}

bool Warns(const Order& o, const std::string& part) {
    return std::any_of(o.warnings.begin(), o.warnings.end(),
                       [&](const OrderWarning& w) { return w.text.find(part) != std::string::npos; });
}

TEST(Import, MallExportInShiftJisGroupsItemRowsAndSplitsALongAddress) {
    std::vector<Order> orders = Import(Data("mall_cp932.csv"));
    ASSERT_EQ(Refs(orders), (std::vector<std::string>{"100001-20240501-0001", "100001-20240501-0002",
                                                      "100001-20240501-0003"}));
    const Order& first = orders[0];
    EXPECT_EQ(first.rows, (std::vector<std::size_t>{2, 3}));
    EXPECT_EQ(first.fields.Zip, "160-0022"); // the shipping address, not the orderer's
    EXPECT_EQ(first.fields.Custo1, "佐藤　花子");
    EXPECT_EQ(first.fields.Tel, "090-1234-5678");
    EXPECT_EQ(first.fields.G2, "ほうじ茶ティーバッグ 20包");
    EXPECT_TRUE(first.warnings.empty());

    const OrderFields& cod = orders[1].fields;
    EXPECT_EQ(cod.Add1, "神奈川県横浜市港北区新横浜二丁目15番地10");
    EXPECT_EQ(cod.Add2, "新横浜スクエアビル5階");
    EXPECT_TRUE(cod.P1);
    EXPECT_EQ(cod.PriceSub, "12800");
    EXPECT_EQ(cod.Kosuu, "1");
    EXPECT_TRUE(Warns(orders[1], "おところ①と②に分けました"));

    EXPECT_EQ(orders[2].items.size(), 4u);
    EXPECT_EQ(orders[2].fields.G3, "茶筒 (大)");
    EXPECT_FALSE(orders[2].fields.P1);
    EXPECT_EQ(orders[2].fields.PriceSub, "0");
}

TEST(Import, StoreExportKeepsWhatShiftJisCannotHoldUntilTheSlip) {
    std::vector<Order> orders = Import(Data("store_utf8_bom.csv"));
    ASSERT_EQ(Refs(orders), (std::vector<std::string>{"#1001", "#1002"}));
    const Order& o = orders[0];
    EXPECT_EQ(o.fields.Custo1, "𠮷田 花子");
    EXPECT_TRUE(Warns(o, "「𠮷」はShift_JISにない文字"));
    EXPECT_EQ(FieldsForSlip(o.fields).Custo1, cp932::FromUtf8("?田 花子"));
    EXPECT_EQ(FieldsForSlip(o.fields).Add1, cp932::FromUtf8("北海道札幌市中央区北一条西2丁目1-1"));
    EXPECT_EQ(o.fields.Add3, "株式会社サンプル商事");
    EXPECT_EQ(o.fields.Tel, "090-1234-5678");
    EXPECT_EQ(o.fields.G2, "紅茶用 角砂糖"); // the second item row carries only the item
    EXPECT_EQ(orders[1].fields.PriceSub, "3980");
    EXPECT_TRUE(orders[1].fields.P1);
}

TEST(Import, CarrierLayoutInTabsWithSenderAndDroppedZeros) {
    std::vector<Order> orders = Import(Data("carrier_utf8.tsv"));
    ASSERT_EQ(Refs(orders), (std::vector<std::string>{"A-0001", "A-0002"}));
    EXPECT_EQ(orders[0].fields.Zip, "001-0012");
    EXPECT_EQ(orders[0].fields.Add1, "北海道札幌市北区北十二条西 2丁目");
    EXPECT_EQ(orders[0].fields.Custo1, "有限会社北の茶舗　伊藤 健");
    EXPECT_EQ(orders[0].sender.name, "琉球茶房");
    EXPECT_TRUE(Warns(orders[0], "2行目「お届け先住所2」の改行を空白にしました"));
    EXPECT_EQ(orders[1].fields.Tel, "09012345678");
    EXPECT_EQ(orders[1].fields.PriceSub, "2160");
}

TEST(Import, SpreadsheetFormulasAreReadAsText) {
    std::vector<Order> orders = Import(Data("spreadsheet_cp932.csv"));
    ASSERT_EQ(orders.size(), 2u);
    const Order& o = orders[0];
    EXPECT_EQ(o.fields.Tel, "0312345678");
    EXPECT_EQ(o.total, "=H2*3000");
    EXPECT_EQ(o.fields.PriceSub, "0");
    EXPECT_TRUE(o.fields.P1);
    EXPECT_TRUE(Warns(o, "2行目「合計」の「=H2*3000」は数式として計算せず"));
    EXPECT_EQ(o.fields.G1, "贈答用 \"特選\" 詰め合わせ, 桐箱");
    EXPECT_EQ(orders[1].fields.Zip, "060-0042");
}

TEST(Import, RowsOfAnOrderAreGroupedWhereverTheyStand) {
    TempDir dir;
    TempDir::Write(dir.File("o.csv"), "注文番号,郵便番号,住所,お名前,商品名\n"
                                      "B,100-0001,東京都千代田区1-1,乙,b1\n"
                                      "A,100-0002,東京都千代田区2-2,甲,a1\n"
                                      ",,,,b-or-a\n"
                                      "B,100-0009,東京都千代田区9-9,乙,b2\n"
                                      ",100-0003,東京都千代田区3-3,丙,c1\n");
    std::vector<Order> orders = Import(dir.File("o.csv"));
    ASSERT_EQ(Refs(orders), (std::vector<std::string>{"B", "A", ""}));
    EXPECT_EQ(orders[0].rows, (std::vector<std::size_t>{2, 5}));
    EXPECT_EQ(orders[0].fields.G2, "b2");
    EXPECT_EQ(orders[0].fields.Zip, "100-0001");
    EXPECT_TRUE(Warns(orders[0], "5行目の郵便番号「100-0009」が最初の行と違います"));
    EXPECT_EQ(orders[1].fields.G2, "b-or-a"); // a row without reference or address continues the one above
    EXPECT_TRUE(Warns(orders[2], "6行目に注文番号がありません"));
}

TEST(Import, MissingRequiredColumnsAndTheSavedMapping) {
    TempDir dir;
    const std::string csv = dir.File("o.csv");
    TempDir::Write(csv, "宛先,〒,所\n山田,1000001,東京都千代田区\n");
    try {
        Import(csv);
        FAIL() << "imported without a mapping";
    } catch (const EOrderFile& e) {
        EXPECT_EQ(cp932::ToUtf8(e.Message()),
                  "注文ファイル「" + csv + "」の列を対応付けてください（住所1（市区町村）、お名前）");
    }
    OrderTable t = ReadOrderTable(csv);
    ColumnMapping m = RecogniseColumns(t.header);
    m[OrderColumn::Name] = 0;
    m[OrderColumn::Address1] = 2;
    SaveMapping(dir.File("map.ini"), t.header, m);
    std::vector<Order> orders = Import(csv, dir.File("map.ini"));
    ASSERT_EQ(orders.size(), 1u);
    EXPECT_EQ(orders[0].fields.Custo1, "山田");
    EXPECT_EQ(orders[0].fields.Add1, "東京都千代田区");
}

} // namespace
