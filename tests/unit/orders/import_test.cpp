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
    EXPECT_EQ(first.fields.Edit_Zip, "160-0022"); // the shipping address, not the orderer's
    EXPECT_EQ(first.fields.Edit_Custo1, "佐藤　花子");
    EXPECT_EQ(first.fields.Edit_tel, "090-1234-5678");
    EXPECT_EQ(first.fields.Edit_G2, "ほうじ茶ティーバッグ 20包");
    EXPECT_TRUE(first.warnings.empty());

    const slip::Record& cod = orders[1].fields;
    EXPECT_EQ(cod.Edit_Add1, "神奈川県横浜市港北区新横浜二丁目15番地10");
    EXPECT_EQ(cod.Edit_Add2, "新横浜スクエアビル5階");
    EXPECT_TRUE(cod.CheckBox_p1);
    EXPECT_EQ(cod.KyNumEdit_PriceSub, "12800");
    EXPECT_EQ(cod.KyNumEdit_KOSUU, "1");
    EXPECT_TRUE(Warns(orders[1], "おところ①と②に分けました"));

    EXPECT_EQ(orders[2].items.size(), 4u);
    EXPECT_EQ(orders[2].fields.Edit_G3, "茶筒 (大)");
    EXPECT_FALSE(orders[2].fields.CheckBox_p1);
    EXPECT_EQ(orders[2].fields.KyNumEdit_PriceSub, "0");
}

TEST(Import, StoreExportKeepsWhatShiftJisCannotHoldUntilTheSlip) {
    std::vector<Order> orders = Import(Data("store_utf8_bom.csv"));
    ASSERT_EQ(Refs(orders), (std::vector<std::string>{"#1001", "#1002"}));
    const Order& o = orders[0];
    EXPECT_EQ(o.fields.Edit_Custo1, "𠮷田 花子");
    EXPECT_TRUE(Warns(o, "「𠮷」はShift_JISにない文字"));
    EXPECT_EQ(FieldsForSlip(o.fields).Edit_Custo1, cp932::FromUtf8("?田 花子"));
    EXPECT_EQ(FieldsForSlip(o.fields).Edit_Add1, cp932::FromUtf8("北海道札幌市中央区北一条西2丁目1-1"));
    EXPECT_EQ(o.fields.Edit_Add3, "株式会社サンプル商事");
    EXPECT_EQ(o.fields.Edit_tel, "090-1234-5678");
    EXPECT_EQ(o.fields.Edit_G2, "紅茶用 角砂糖"); // the second item row carries only the item
    EXPECT_EQ(orders[1].fields.KyNumEdit_PriceSub, "3980");
    EXPECT_TRUE(orders[1].fields.CheckBox_p1);
}

TEST(Import, CarrierLayoutInTabsWithSenderAndDroppedZeros) {
    std::vector<Order> orders = Import(Data("carrier_utf8.tsv"));
    ASSERT_EQ(Refs(orders), (std::vector<std::string>{"A-0001", "A-0002"}));
    EXPECT_EQ(orders[0].fields.Edit_Zip, "001-0012");
    EXPECT_EQ(orders[0].fields.Edit_Add1, "北海道札幌市北区北十二条西 2丁目");
    EXPECT_EQ(orders[0].fields.Edit_Custo1, "有限会社北の茶舗　伊藤 健");
    EXPECT_EQ(orders[0].sender.name, "琉球茶房");
    EXPECT_TRUE(Warns(orders[0], "2行目「お届け先住所2」の改行を空白にしました"));
    EXPECT_EQ(orders[1].fields.Edit_tel, "09012345678");
    EXPECT_EQ(orders[1].fields.KyNumEdit_PriceSub, "2160");
}

TEST(Import, SpreadsheetFormulasAreReadAsText) {
    std::vector<Order> orders = Import(Data("spreadsheet_cp932.csv"));
    ASSERT_EQ(orders.size(), 2u);
    const Order& o = orders[0];
    EXPECT_EQ(o.fields.Edit_tel, "0312345678");
    EXPECT_EQ(o.total, "=H2*3000");
    EXPECT_EQ(o.fields.KyNumEdit_PriceSub, "0");
    EXPECT_TRUE(o.fields.CheckBox_p1);
    EXPECT_TRUE(Warns(o, "2行目「合計」の「=H2*3000」は数式として計算せず"));
    EXPECT_EQ(o.fields.Edit_G1, "贈答用 \"特選\" 詰め合わせ, 桐箱");
    EXPECT_EQ(orders[1].fields.Edit_Zip, "060-0042");
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
    EXPECT_EQ(orders[0].fields.Edit_G2, "b2");
    EXPECT_EQ(orders[0].fields.Edit_Zip, "100-0001");
    EXPECT_TRUE(Warns(orders[0], "5行目の郵便番号「100-0009」が最初の行と違います"));
    EXPECT_EQ(orders[1].fields.Edit_G2,
              "b-or-a"); // a row without reference or address continues the one above
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
    EXPECT_EQ(orders[0].fields.Edit_Custo1, "山田");
    EXPECT_EQ(orders[0].fields.Edit_Add1, "東京都千代田区");
}

} // namespace

namespace {

// Each platform's export as the platform writes it (tests/unit/orders/data, sources in
// docs/order-files.md): its own order numbers, item rows grouped, the address whole, the platform's IDs,
// cash on delivery with its amount, the delivery day and slot.
struct PlatformFile {
    const char* file;
    Platform platform;
    std::vector<std::string> refs;
    std::vector<std::pair<std::string, std::string>> ids; // of the first order
    const char* cashOnDelivery;                           // the second order's amount
    Delivery delivery;                                    // of the first order
};

void PrintTo(const PlatformFile& f, std::ostream* os) {
    *os << f.file;
}

class Platforms : public testing::TestWithParam<PlatformFile> {};

TEST_P(Platforms, ExportsAreReadAsThePlatformWritesThem) {
    const PlatformFile& f = GetParam();
    std::vector<Order> orders = Import(Data(f.file));
    ASSERT_EQ(Refs(orders), f.refs);
    for (const Order& o : orders)
        EXPECT_EQ(o.platform, f.platform);
    const Order& first = orders[0];
    EXPECT_EQ(first.refs, f.ids);
    EXPECT_EQ(first.fields.Edit_Zip, "160-0022");
    EXPECT_EQ(first.fields.Edit_Add1, "東京都新宿区新宿3-1-1");
    EXPECT_TRUE(first.fields.Edit_Custo1.starts_with("佐藤")) << first.fields.Edit_Custo1;
    EXPECT_EQ(first.delivery, f.delivery);
    EXPECT_FALSE(first.HasProblem());
    const slip::Record& cod = orders[1].fields;
    EXPECT_TRUE(cod.CheckBox_p1);
    EXPECT_EQ(cod.KyNumEdit_PriceSub, f.cashOnDelivery);
    EXPECT_EQ(cod.Edit_Add2, "新横浜スクエアビル5階");
}

INSTANTIATE_TEST_SUITE_P(
    Exports, Platforms,
    testing::Values(
        PlatformFile{"rakuten_pay_cp932.csv",
                     Platform::Rakuten,
                     {"100001-20241201-0000001", "100001-20241201-0000002", "100001-20241201-0000003",
                      "100001-20241201-0000003"},
                     {{"送付先ID", "1001"}, {"商品明細ID", "200000001,200000002"}},
                     "12800",
                     {"2024-12-10", "14-16時"}},
        PlatformFile{"amazon_unshipped_cp932.txt",
                     Platform::Amazon,
                     {"250-1234567-1234567", "503-7654321-7654321"},
                     {{"order-item-id", "12345678901234,12345678901235"}},
                     "3980",
                     {"2024-12-10", "14-16時"}},
        PlatformFile{"yahoo_cp932.csv",
                     Platform::Yahoo,
                     {"store-10000001", "store-10000002", "store-10000003"},
                     {},
                     "5400",
                     {"2024-12-10", "14-16時"}},
        PlatformFile{
            "shopify_orders_utf8_bom.csv", Platform::Shopify, {"#1001", "#1002", "#1003"}, {}, "3980", {}},
        PlatformFile{"colorme_sales_all_cp932.csv",
                     Platform::ColorMe,
                     {"70000001", "70000002", "70000003"},
                     {},
                     "12800",
                     {"2024-12-10", "14-16時"}},
        PlatformFile{"futureshop_cp932.csv",
                     Platform::FutureShop,
                     {"FS00000001", "FS00000002"},
                     {},
                     "12800",
                     {"2024-12-10", "14-16時"}}));

TEST(Import, ShopifyCosmeticRewritesAreNotesWhatIsLostIsAProblem) {
    std::vector<Order> orders = Import(Data("shopify_orders_utf8_bom.csv"));
    ASSERT_EQ(orders.size(), 3u);
    EXPECT_FALSE(orders[0].HasProblem()); // only the apostrophe and +81
    EXPECT_EQ(orders[0].warnings.size(), 2u);
    EXPECT_EQ(orders[1].delivery, (Delivery{"12-10", "午前中"})); // from the order's note
    EXPECT_TRUE(orders[2].HasProblem());                          // 𠮷 becomes "?"
}

TEST(Import, TwoConsigneesUnderOneNumberAreTwoShipmentsGoodsNeverMove) {
    TempDir dir;
    TempDir::Write(dir.File("o.csv"), "注文番号,郵便番号,住所,お名前,商品名\n"
                                      "1001,100-0001,東京都千代田区1-1,山田太郎,りんご\n"
                                      "1002,100-0002,東京都千代田区2-2,佐藤,みかん\n"
                                      "1001,100-0003,東京都千代田区3-3,田中花子,メロン\n"
                                      "注文番号,郵便番号,住所,お名前,商品名\n"
                                      "1001,,,,ぶどう\n");
    std::vector<Order> orders = Import(dir.File("o.csv"));
    ASSERT_EQ(Refs(orders), (std::vector<std::string>{"1001", "1002", "1001"}));
    EXPECT_EQ(orders[0].fields.Edit_Custo1, "山田太郎");
    EXPECT_EQ(orders[0].fields.Edit_G1, "りんご");
    EXPECT_EQ(orders[0].fields.Edit_G2, "");
    EXPECT_EQ(orders[2].fields.Edit_Custo1, "田中花子");
    EXPECT_EQ(orders[2].fields.Edit_Add1, "東京都千代田区3-3");
    EXPECT_EQ(orders[2].fields.Edit_G2,
              "ぶどう"); // a row without a name stays with the reference's last shipment
    EXPECT_TRUE(orders[0].HasProblem() && orders[2].HasProblem());
    EXPECT_FALSE(orders[1].HasProblem());
    EXPECT_TRUE(Warns(orders[2], "5行目は見出しと同じ行のため読み飛ばしました"));
}

TEST(Import, RowsThatDisagreeHoldTheOrderForACheck) {
    TempDir dir;
    TempDir::Write(dir.File("o.csv"), "注文番号,郵便番号,住所,お名前\n"
                                      "A,100-0001,東京都千代田区1-1,甲\n"
                                      "A,100-0009,東京都千代田区9-9,甲\n");
    std::vector<Order> orders = Import(dir.File("o.csv"));
    ASSERT_EQ(orders.size(), 1u);
    EXPECT_TRUE(orders[0].heldForCheck);
    EXPECT_FALSE(orders[0].needsAmount);
}

// A payment and an amount column that no rule knows: the question covers them, the answer is saved, and
// until they are assigned an order that says cash on delivery is held without its amount.
TEST(Import, CashOnDeliveryIsAKeyColumnTheQuestionAsksFor) {
    TempDir dir;
    const std::string csv = dir.File("o.csv"), ini = dir.File("map.ini");
    TempDir::Write(csv, "注文番号,郵便番号,住所,お名前,お支払い区分,ご請求額\n"
                        "1,100-0001,東京都千代田区1-1,甲,代金引換,\"3,000\"\n"
                        "2,100-0002,東京都千代田区2-2,乙,クレジット,\"4,000\"\n");
    std::vector<Order> unasked = Import(csv);
    EXPECT_FALSE(unasked[0].fields.CheckBox_p1);
    EXPECT_TRUE(unasked[0].needsAmount && unasked[0].heldForCheck);
    EXPECT_TRUE(Warns(unasked[0], "支払方法の列が割り当てられていないため代引金額が入っていません"));
    EXPECT_FALSE(unasked[1].HasProblem());

    std::vector<OrderColumn> asked;
    ImportOptions options;
    options.mappingIni = ini;
    options.ask = [&](MappingQuestion& q) {
        asked = q.ask;
        EXPECT_TRUE(q.Required().empty());
        q.mapping[OrderColumn::Payment] = 4;
        q.mapping[OrderColumn::Total] = 5;
        return true;
    };
    ImportResult r = ImportOrders(csv, options);
    EXPECT_EQ(asked, (std::vector<OrderColumn>{OrderColumn::Payment, OrderColumn::Total}));
    ASSERT_EQ(r.orders.size(), 2u);
    EXPECT_TRUE(r.orders[0].fields.CheckBox_p1);
    EXPECT_EQ(r.orders[0].fields.KyNumEdit_PriceSub, "3000");
    EXPECT_FALSE(r.orders[0].needsAmount);

    options.ask = [](MappingQuestion&) {
        ADD_FAILURE() << "asked again although the answer was saved";
        return false;
    };
    EXPECT_EQ(ImportOrders(csv, options).orders[0].fields.KyNumEdit_PriceSub, "3000");
}

TEST(Import, ACancelledQuestionReadsNothing) {
    TempDir dir;
    TempDir::Write(dir.File("o.csv"), "宛先,〒,所\n山田,1000001,東京都千代田区\n");
    ImportOptions options;
    options.mappingIni = dir.File("map.ini");
    options.ask = [](MappingQuestion& q) {
        EXPECT_EQ(q.Required(), (std::vector<OrderColumn>{OrderColumn::Address1, OrderColumn::Name}));
        return false;
    };
    ImportResult r = ImportOrders(dir.File("o.csv"), options);
    EXPECT_TRUE(r.cancelled);
    EXPECT_TRUE(r.orders.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.File("map.ini")));
}

} // namespace
