// The loop from the shop's order file back to the shop: each platform's order export (the import's own
// samples) imported, its slips printed into the history with numbers of a stack, one of them spoiled and
// one mistyped, then each shipped file made from the history checked against the platform's documented
// upload (docs/shipped-files.md): columns, encoding, line ends, carrier code, date, rows per order, and
// nothing of another platform, void or wrong.
#include "app/OrderLink.h"
#include "history/HistoryStore.h"
#include "history/ShippedSlips.h"
#include "platform/Cp932Codec.h"
#include "shipped/ShippedFile.h"
#include "tracking/SlipNumber.h"
#include "unit/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <tuple>

namespace {

struct Printed {
    std::int64_t id;
    std::string order, platform, number, destination, consignee; // UTF-8
    bool counts;                                                 // not void, a valid number
};

std::vector<std::string> Split(const std::string& text, const std::string& by) {
    std::vector<std::string> out;
    std::size_t at = 0;
    for (std::size_t next; (next = text.find(by, at)) != std::string::npos; at = next + by.size())
        out.push_back(text.substr(at, next - at));
    out.push_back(text.substr(at));
    return out;
}

// One line of the table per file.
// clang-format off
const std::vector<std::string> kAmazonTemplate = {
    "TemplateType=OrderFulfillment\tVersion=2011.1102\tこの行はAmazonが使用しますので変更や削除しないでください。",
    "注文番号\t注文商品番号\t出荷数\t出荷日\t配送業者コード\t配送業者名\tお問い合わせ伝票番号\t配送方法\t代金引換",
    "order-id\torder-item-id\tquantity\tship-date\tcarrier-code\tcarrier-name\ttracking-number\tship-method\tcod-collection-method"};

TEST(ShippedLoop, EachPlatformsFileHoldsItsOwnParcelsAsItsUploadIsDocumented) {
    // As each platform documents its file: the lines before the data, the columns of the order, the
    // number, the date, the carrier and the destination (99: none), the code of Yamato Transport.
    const struct {
        const char *format, *platform; // platform nullptr: every platform's
        std::vector<std::string> before;
        std::size_t order, number, date, carrier, destination;
        const char* code;
        bool firstOfOrder;
    } formats[] = {
        {"generic", nullptr, {"注文番号,出荷日,配送業者,お問い合わせ伝票番号,お届け先名,発送日"}, 0, 3, 5, 2, 99, "ヤマト運輸", false},
        {"rakuten", "rakuten", {"注文番号,送付先ID,発送明細ID,お荷物伝票番号,配送会社,発送日"}, 0, 3, 5, 4, 1, "1001", false},
        {"amazon", "amazon", kAmazonTemplate, 0, 6, 3, 4, 99, "YamatoTransport", true},
    };
    // clang-format on
    // Every platform's orders printed on 2024-05-02, with numbers of a stack: each order one slip; the
    // first order of each platform a spoiled slip before its own and a second parcel after it; the second
    // a mistyped number before its own.
    TempDir dir;
    auto store = history::OpenStore(history::LocationFromArgument(dir.File("h.db")));
    std::string number = "512547514323"; // the stack's slip before 512547514334
    auto next = [&] { return number = *tracking::NextInStack(number); };
    std::vector<Printed> printed;
    auto print = [&](const orders::Order& order, const std::string& tracking, bool spoiled) {
        history::HistoryRecord r;
        r.time = "2024-05-02T09:" + std::to_string(10 + printed.size()) + ":00+09:00";
        r.values = orders::FieldsForSlip(order.fields);
        const history::OrderLink link = LinkOf(order);
        std::tie(r.order, r.platform, r.refs, r.tracking, r.isVoid) =
            std::tie(link.ref, link.platform, link.refs, tracking, spoiled);
        const auto destination = r.refs.find(cp932::FromUtf8("送付先ID"));
        printed.push_back({store->Insert(r), order.ref, r.platform, tracking,
                           destination == r.refs.end() ? "" : destination->second,
                           cp932::ToUtf8(r.values.Edit_Custo1),
                           !spoiled && tracking::ReadSlipNumber(tracking).valid});
    };
    const auto data = std::filesystem::path(__FILE__).parent_path() / ".." / "orders" / "data";
    for (const char* sample :
         {"rakuten_pay_cp932.csv", "amazon_unshipped_cp932.txt", "yahoo_cp932.csv",
          "shopify_orders_utf8_bom.csv", "colorme_sales_all_cp932.csv", "futureshop_cp932.csv"}) {
        const auto orders = orders::ImportOrders((data / sample).string(), {}).orders;
        ASSERT_GE(orders.size(), 2u) << sample;
        for (std::size_t i = 0; i < orders.size(); ++i) {
            if (i == 0) print(orders[i], next(), true);
            if (i == 1) print(orders[i], "400012345672", false);
            print(orders[i], next(), false);
            if (i == 0) print(orders[i], next(), false);
        }
    }
    ASSERT_LT(printed.size(), 50u); // the minutes of the times above

    const auto slips = history::ShippedSlips(*store, "2024-05-02", "2024-05-02");
    for (const auto& f : formats) {
        SCOPED_TRACE(f.format);
        const auto file =
            shipped::BuildShippedFile(*shipped::FindShippedFormat(f.format), slips, shipped::Carrier::Yamato);
        // Shift_JIS without a byte-order mark, every line ended by CR LF.
        const std::string text = cp932::ToUtf8(file.bytes);
        ASSERT_EQ(cp932::FromUtf8(text), file.bytes);
        ASSERT_GE(file.bytes.size(), 2u);
        EXPECT_EQ(file.bytes.substr(file.bytes.size() - 2), "\r\n");
        EXPECT_EQ(Split(file.bytes, "\n").size(), Split(file.bytes, "\r\n").size());
        std::vector<std::string> lines = Split(text.substr(0, text.size() - 2), "\r\n");
        ASSERT_GE(lines.size(), f.before.size());
        EXPECT_EQ(std::vector(lines.begin(), lines.begin() + f.before.size()), f.before);

        std::vector<std::pair<std::string, std::string>> rows, expected; // order, number
        std::set<std::string> ordersWritten;
        std::vector<std::int64_t> apart, expectedApart;
        for (const Printed& p : printed) {
            if (f.platform && p.platform != f.platform) continue;
            if (!p.counts)
                expectedApart.push_back(p.id);
            else if (!f.firstOfOrder || ordersWritten.insert(p.order).second)
                expected.emplace_back(p.order, p.number);
        }
        const std::string separator = f.firstOfOrder ? "\t" : ",";
        const std::size_t columns = Split(f.before.back(), separator).size();
        for (std::size_t i = f.before.size(); i < lines.size(); ++i) {
            const auto cells = Split(lines[i], separator);
            ASSERT_EQ(cells.size(), columns) << lines[i];
            rows.emplace_back(cells[f.order], cells[f.number]);
            EXPECT_EQ(cells[f.date], "2024-05-02");
            EXPECT_EQ(cells[f.carrier], f.code);
            const auto slip = std::find_if(printed.begin(), printed.end(),
                                           [&](const Printed& p) { return p.number == cells[f.number]; });
            ASSERT_NE(slip, printed.end());
            if (f.destination != 99) EXPECT_EQ(cells[f.destination], slip->destination);
            if (f.firstOfOrder) EXPECT_EQ(cells[1] + cells[2], ""); // the whole order, not some items
            if (!f.platform) EXPECT_EQ(cells[4], slip->consignee);
        }
        EXPECT_EQ(rows, expected);
        for (const shipped::ApartSlip& a : file.apart)
            apart.push_back(slips[a.slip].record);
        EXPECT_EQ(apart, expectedApart);
        EXPECT_EQ(file.extra.size(), f.firstOfOrder ? 1u : 0u); // the first order's second parcel
    }
}

} // namespace
