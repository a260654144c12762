#include "shipped/ShippedFormats.h"

namespace shipped {
namespace {

using K = CellKind;
using S = Source;

// The shop's own list, as the history window has always written it, with the ship day once more in
// the form programs read (発送日). Every platform's slips, one row per parcel.
constexpr ShippedColumn kGenericColumns[] = {
    {"注文番号", S::Order, K::Id},         {"出荷日", S::ShipDaySlashed, K::Date},
    {"配送業者", S::Carrier, K::Text},     {"お問い合わせ伝票番号", S::Tracking, K::Id},
    {"お届け先名", S::Consignee, K::Text}, {"発送日", S::ShipDay, K::Date},
};

// Rakuten RMS: the upload of shipping details. An empty 発送明細ID adds a detail to the destination, so
// each parcel's number reaches the customer; 送付先ID picks the destination of a multi-address order.
constexpr ShippedColumn kRakutenColumns[] = {
    {"注文番号", S::Order, K::Id},       {"送付先ID", S::Ref, K::Id, {}, "送付先ID"},
    {"発送明細ID", S::Blank, K::Id},     {"お荷物伝票番号", S::Tracking, K::Id},
    {"配送会社", S::Carrier, K::Number}, {"発送日", S::ShipDay, K::Date},
};

// Amazon Seller Central (Japan): the shipping confirmation template, version 2011.1102. Without
// order-item-id and quantity a row confirms the whole order; a second row for the order would replace
// its tracking number, so the order's other numbers are reported instead.
constexpr std::string_view kAmazonPreamble[] = {"TemplateType=OrderFulfillment", "Version=2011.1102",
                                                "この行はAmazonが使用しますので変更や削除しないでください。"};
constexpr ShippedColumn kAmazonColumns[] = {
    {"order-id", S::Order, K::Id, "注文番号"},
    {"order-item-id", S::Blank, K::Id, "注文商品番号"},
    {"quantity", S::Blank, K::Number, "出荷数"},
    {"ship-date", S::ShipDay, K::Date, "出荷日"},
    {"carrier-code", S::Carrier, K::Text, "配送業者コード"},
    {"carrier-name", S::Blank, K::Text, "配送業者名"},
    {"tracking-number", S::Tracking, K::Id, "お問い合わせ伝票番号"},
    {"ship-method", S::Blank, K::Text, "配送方法"},
    {"cod-collection-method", S::Blank, K::Text, "代金引換"},
};

// Carriers in the order of enum Carrier: Sagawa, Yamato, Japan Post.
constexpr ShippedFormat kFormats[] = {
    {"generic",
     "",
     "shipped",
     "csv",
     ',',
     TextEncoding::Cp932,
     {},
     false,
     kGenericColumns,
     Rows::PerNumber,
     false,
     {"佐川急便", "ヤマト運輸", "日本郵便"}},
    {"rakuten",
     "rakuten",
     "rakuten",
     "csv",
     ',',
     TextEncoding::Cp932,
     {},
     false,
     kRakutenColumns,
     Rows::PerNumber,
     true,
     {"1002", "1001", "1003"}},
    {"amazon",
     "amazon",
     "amazon",
     "txt",
     '\t',
     TextEncoding::Cp932,
     kAmazonPreamble,
     true,
     kAmazonColumns,
     Rows::FirstOfOrder,
     true,
     {"SagawaExpress", "YamatoTransport", "Japan Post"}},
};

} // namespace

std::span<const ShippedFormat> ShippedFormats() {
    return kFormats;
}

const ShippedFormat* FindShippedFormat(std::string_view name) {
    for (const ShippedFormat& f : kFormats)
        if (f.name == name) return &f;
    return nullptr;
}

} // namespace shipped
