// Column recognition from header names, and the mapping saved under a header row.
#include "orders/OrderColumns.h"
#include "orders/Platforms.h"
#include "platform/Cp932Codec.h"
#include "unit/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

using namespace orders;
using C = OrderColumn;

// The header text of the column recognised for `c`, or "-".
std::string HeaderOf(const std::vector<std::string>& header, const ColumnMapping& m, C c) {
    return m[c] == kNoColumn ? "-" : header[static_cast<std::size_t>(m[c])];
}

struct Shape {
    const char* name;
    std::vector<std::string> header;
    std::vector<std::pair<C, std::string>> expected; // every other kind has no column
};

void PrintTo(const Shape& s, std::ostream* os) {
    *os << s.name;
}

class Recognition : public testing::TestWithParam<Shape> {};

TEST_P(Recognition, FindsEveryKnownColumnAndNothingElse) {
    const Shape& s = GetParam();
    ColumnMapping m = RecogniseColumns(s.header);
    for (const OrderColumnInfo& info : OrderColumnInfos()) {
        std::string want = "-";
        for (const auto& [c, h] : s.expected)
            if (c == info.column) want = h;
        EXPECT_EQ(HeaderOf(s.header, m, info.column), want) << info.key;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Exports, Recognition,
    testing::Values(Shape{"MallWithOrdererAndSplitValues",
                          {"受注番号",
                           "注文者名字",
                           "注文者郵便番号1",
                           "注文者郵便番号2",
                           "送付先名字",
                           "送付先名前",
                           "送付先名字フリガナ",
                           "送付先郵便番号1",
                           "送付先郵便番号2",
                           "送付先住所：都道府県",
                           "送付先住所：都市区",
                           "送付先住所：町以降",
                           "送付先電話番号1",
                           "送付先電話番号2",
                           "送付先電話番号3",
                           "商品名",
                           "個数",
                           "合計金額",
                           "決済方法",
                           "お届け日指定",
                           "お届け時間帯"},
                          {{C::OrderNo, "受注番号"},
                           {C::Name, "送付先名字"},
                           {C::Name2, "送付先名前"},
                           {C::Zip, "送付先郵便番号1"},
                           {C::Zip2, "送付先郵便番号2"},
                           {C::Prefecture, "送付先住所：都道府県"},
                           {C::Address1, "送付先住所：都市区"},
                           {C::Address2, "送付先住所：町以降"},
                           {C::Tel, "送付先電話番号1"},
                           {C::Tel2, "送付先電話番号2"},
                           {C::Tel3, "送付先電話番号3"},
                           {C::ItemName, "商品名"},
                           {C::Quantity, "個数"},
                           {C::Total, "合計金額"},
                           {C::Payment, "決済方法"},
                           {C::DeliveryDate, "お届け日指定"},
                           {C::DeliveryTime, "お届け時間帯"}}},
                    Shape{"EnglishStoreWithBillingAndBareName",
                          {"Name", "Email", "Lineitem quantity", "Lineitem name", "Total", "Billing Name",
                           "Billing Zip", "Shipping Name", "Shipping Street", "Shipping Address1",
                           "Shipping Address2", "Shipping Company", "Shipping City", "Shipping Zip",
                           "Shipping Province", "Shipping Phone", "Payment Method"},
                          {{C::OrderNo, "Name"},
                           {C::Quantity, "Lineitem quantity"},
                           {C::ItemName, "Lineitem name"},
                           {C::Total, "Total"},
                           {C::Name, "Shipping Name"},
                           {C::Address1, "Shipping City"},
                           {C::Address2, "Shipping Address1"},
                           {C::Building, "Shipping Address2"},
                           {C::Company, "Shipping Company"},
                           {C::Zip, "Shipping Zip"},
                           {C::Prefecture, "Shipping Province"},
                           {C::Tel, "Shipping Phone"},
                           {C::Payment, "Payment Method"}}},
                    Shape{"CarrierLayoutWithSender",
                          {"お客様管理番号", "お届け先郵便番号", "お届け先住所1", "お届け先住所2",
                           "お届け先住所3", "お届け先名称1", "お届け先名称2", "お届け先電話番号",
                           "ご依頼主郵便番号", "ご依頼主住所1", "ご依頼主住所2", "ご依頼主名称1",
                           "ご依頼主電話番号", "品名1", "品名2", "品名3", "代引金額"},
                          {{C::OrderNo, "お客様管理番号"},
                           {C::Zip, "お届け先郵便番号"},
                           {C::Address1, "お届け先住所1"},
                           {C::Address2, "お届け先住所2"},
                           {C::Address3, "お届け先住所3"},
                           {C::Name, "お届け先名称1"},
                           {C::Name2, "お届け先名称2"},
                           {C::Tel, "お届け先電話番号"},
                           {C::SenderZip, "ご依頼主郵便番号"},
                           {C::SenderAddress1, "ご依頼主住所1"},
                           {C::SenderAddress2, "ご依頼主住所2"},
                           {C::SenderName, "ご依頼主名称1"},
                           {C::SenderTel, "ご依頼主電話番号"},
                           {C::ItemName, "品名1"},
                           {C::ItemName2, "品名2"},
                           {C::ItemName3, "品名3"},
                           {C::Total, "代引金額"}}},
                    Shape{"OrdererOnlyWhenThereIsNoShippingAddress",
                          {"ＴＥＬ", "注文者 郵便番号", "注文者住所", "注文者氏名", "氏名（カナ）",
                           "メールアドレス", "備考"},
                          {{C::Tel, "ＴＥＬ"},
                           {C::Zip, "注文者 郵便番号"},
                           {C::Address1, "注文者住所"},
                           {C::Name, "注文者氏名"},
                           {C::Notes, "備考"}}}));

TEST(Recognition, RequiredKindsLeftOpenAskForTheDialog) {
    std::vector<std::string> header = {"番号", "宛先", "〒", "所"};
    ColumnMapping m = RecogniseColumns(header);
    EXPECT_EQ(HeaderOf(header, m, C::Zip), "〒");
    EXPECT_EQ(MissingColumns(m), (std::vector<C>{C::Address1, C::Name}));
    EXPECT_EQ(UnusedColumns(m, header.size()), (std::vector<int>{0, 1, 3}));
}

// Of two headers that name one kind equally well, the first one wins, whichever it is.
TEST(Recognition, TheFirstOfTwoEqualHeadersWins) {
    for (const std::vector<std::string>& header :
         {std::vector<std::string>{"お名前", "電話番号", "TEL", "郵便番号", "住所"},
          std::vector<std::string>{"お名前", "TEL", "電話番号", "郵便番号", "住所"}})
        EXPECT_EQ(RecogniseColumns(header)[C::Tel], 1) << header[1];
}

TEST(Recognition, PlatformsAreToldByTheirHeaders) {
    EXPECT_EQ(RecogniseColumns({"order-id", "order-item-id", "recipient-name", "ship-state"}).platform,
              Platform::Amazon);
    EXPECT_EQ(RecogniseColumns({"Id", "ShipZipCode", "ShipPrefecture", "ShipCity"}).platform,
              Platform::Yahoo);
    ColumnMapping other = RecogniseColumns({"注文番号", "郵便番号", "住所", "お名前"});
    EXPECT_EQ(other.platform, Platform::Other);
    EXPECT_TRUE(other.refs.empty());
    // Without a payment column, an amount alone is no cash on delivery to ask about.
    EXPECT_TRUE(UnsureColumns(other, {"注文番号", "郵便番号", "住所", "お名前"}).empty());
    std::vector<std::string> amountOnly = {"お名前", "住所", "郵便番号", "ご請求額", "送料"};
    EXPECT_TRUE(UnsureColumns(RecogniseColumns(amountOnly), amountOnly).empty());
}

TEST(Mapping, RoundTripsUnderItsHeaderRowOnly) {
    TempDir dir;
    const std::string ini = dir.File(std::string(kOrderMappingFile));
    const std::vector<std::string> header = {"受付番号", "送り先〒", "住所]", "住所]", "届け人", "𠮷"};
    ColumnMapping chosen = RecogniseColumns(header);
    chosen[C::OrderNo] = 0;
    chosen[C::Address1] = 3; // a name the header has twice: saved by position
    chosen[C::Name] = 4;
    chosen[C::Company] = 5; // a name CP932 cannot hold: saved by position
    chosen[C::Zip] = kNoColumn;
    SaveMapping(ini, header, chosen);

    ColumnMapping loaded = RecogniseColumns(header);
    loaded[C::Zip] = 1; // a saved "no column" wins over recognition
    ASSERT_TRUE(LoadMapping(ini, header, loaded));
    EXPECT_EQ(loaded, chosen);

    std::vector<std::string> other = header;
    other.push_back("備考");
    ColumnMapping untouched = RecogniseColumns(other);
    EXPECT_FALSE(LoadMapping(ini, other, untouched));
    EXPECT_EQ(untouched, RecogniseColumns(other));

    // The file is CP932 and readable: the section is the header row, values are header texts.
    std::string bytes = cp932::ToUtf8(TempDir::Read(ini));
    EXPECT_NE(bytes.find("[受付番号,送り先〒,住所］,住所］,届け人,?]\r\n"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("Name=届け人\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("Address1=#4\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("Company=#6\r\n"), std::string::npos);
}

TEST(Mapping, AHandWrittenSectionIsRead) {
    TempDir dir;
    const std::string ini = dir.File("map.ini");
    TempDir::Write(ini, cp932::FromUtf8("[a,b,c]\r\nZip=b\r\nAddress1=#3\r\nName=a\r\nTel=nothing\r\n"));
    std::vector<std::string> header = {"a", "b", "c"};
    ColumnMapping m;
    ASSERT_TRUE(LoadMapping(ini, header, m));
    EXPECT_EQ(m[C::Zip], 1);
    EXPECT_EQ(m[C::Address1], 2);
    EXPECT_EQ(m[C::Name], 0);
    EXPECT_EQ(m[C::Tel], kNoColumn); // a header the row does not have changes nothing
}

} // namespace
