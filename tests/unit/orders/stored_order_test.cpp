// Orders as the shared queue keeps them: every value back as it was, and the key that finds the same
// order again on the next import.
#include "orders/StoredOrder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

using namespace orders;

std::vector<Order> Import(const char* name) {
    return ImportOrders((std::filesystem::path(__FILE__).parent_path() / "data" / name).string(), {}).orders;
}

TEST(StoredOrder, EveryValueOfEveryOrderComesBack) {
    std::vector<Order> all;
    for (const char* file : {"rakuten_pay_cp932.csv", "amazon_unshipped_cp932.txt", "store_utf8_bom.csv",
                             "carrier_utf8.tsv", "shopify_orders_utf8_bom.csv"})
        for (Order& o : Import(file))
            all.push_back(std::move(o));
    Order odd; // what a value may hold: the text's own separators, escapes and line breaks
    odd.ref = "A=1\t%41";
    odd.refs = {{"名\t=", "1%\n2"}};
    odd.fields.Edit_Add1 = "東京都\r\n新宿区 %0A";
    odd.fields.CheckBox_p1 = true;
    odd.items = {{"緑茶\t", "2"}, {"", ""}};
    odd.delivery = {"12-10", "午前中"};
    odd.sender = {"1", "", "3", "=", "\x7F"};
    odd.warnings = {{Severity::Problem, "a\nb"}, {Severity::Note, ""}};
    odd.heldForCheck = odd.needsAmount = true;
    all.push_back(odd);
    for (const Order& o : all)
        EXPECT_EQ(OrderFromText(OrderToText(o)), o) << OrderToText(o);
}

TEST(StoredOrder, KeysFindTheSameOrderAgainAndTellTheOthersApart) {
    const std::vector<Order> rakuten = Import("rakuten_pay_cp932.csv");
    const std::vector<std::string> keys = OrderKeys(rakuten);
    EXPECT_EQ(OrderKeys(Import("rakuten_pay_cp932.csv")), keys);
    // The last order goes to two addresses: one key each.
    EXPECT_EQ(keys[2], "rakuten\t100001-20241201-0000003\t1");
    EXPECT_EQ(keys[3], "rakuten\t100001-20241201-0000003\t2");

    // Without a reference an order is what it holds: the same shipment in another file (on another
    // row, with other notes) is the same order; a second one like it in one file is another.
    Order a;
    a.fields.Edit_Custo1 = "佐藤";
    a.rows = {2};
    Order moved = a;
    moved.rows = {9};
    moved.warnings = {{Severity::Note, "x"}};
    Order other = a;
    other.fields.Edit_G1 = "緑茶";
    const std::vector<std::string> file = OrderKeys({a, other, a});
    EXPECT_EQ(OrderKeys({moved}).at(0), file[0]);
    EXPECT_NE(file[1], file[0]);
    EXPECT_NE(file[2], file[0]);
    EXPECT_EQ(file[0].rfind("other\t#", 0), 0u);
}

} // namespace
