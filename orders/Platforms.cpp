#include "orders/Platforms.h"

#include "orders/HeaderWords-private.h"

#include <algorithm>
#include <unordered_set>

namespace orders {
namespace {

using C = OrderColumn;
using Names = std::span<const std::string_view>;

// Rakuten (RMS): the order CSV of 楽天ペイ and the older download with colons in its headers and
// full-width digits; both have one row per item and per shipping address (送付先ID).
constexpr std::string_view kRakutenPay[] = {"注文番号", "送付先姓", "送付先住所都道府県"};
constexpr std::string_view kRakutenOld[] = {"受注番号", "送付先名字", "送付先住所：都道府県"};
constexpr Names kRakutenSignatures[] = {kRakutenPay, kRakutenOld};
constexpr PlatformColumn kRakutenColumns[] = {
    {"注文番号", C::OrderNo},
    {"受注番号", C::OrderNo},
    {"送付先郵便番号1", C::Zip},
    {"送付先郵便番号2", C::Zip2},
    {"送付先住所都道府県", C::Prefecture},
    {"送付先住所郡市区", C::Address1},
    {"送付先住所都市区", C::Address1},
    {"送付先住所それ以降の住所", C::Address2},
    {"送付先住所町以降", C::Address2},
    {"送付先姓", C::Name},
    {"送付先名字", C::Name},
    {"送付先名", C::Name2},
    {"送付先名前", C::Name2},
    {"送付先電話番号1", C::Tel},
    {"送付先電話番号2", C::Tel2},
    {"送付先電話番号3", C::Tel3},
    {"商品名", C::ItemName},
    {"個数", C::Quantity},
    {"支払方法名", C::Payment},
    {"決済方法", C::Payment},
    {"請求金額", C::Total}, // what the customer pays at the door: after points and coupons
    {"合計金額", C::Total},
    {"お届け日指定", C::DeliveryDate},
    {"お届け時間帯", C::DeliveryTime},
    {"コメント", C::Notes},
};
constexpr PlatformRef kRakutenRefs[] = {{"送付先ID", "送付先ID"}, {"商品明細ID", "商品明細ID"}};
constexpr std::string_view kRakutenDestination[] = {"送付先ID"};

// Amazon (Seller Central, Japan): the order report, tab-separated, one row per order item.
constexpr std::string_view kAmazonReport[] = {"order-id", "order-item-id", "recipient-name"};
constexpr Names kAmazonSignatures[] = {kAmazonReport};
constexpr PlatformColumn kAmazonColumns[] = {
    {"order-id", C::OrderNo},
    {"recipient-name", C::Name},
    {"ship-postal-code", C::Zip},
    {"ship-state", C::Prefecture},
    {"ship-city", C::Address1},
    {"ship-address-1", C::Address2},
    {"ship-address-2", C::Address3},
    {"ship-address-3", C::Building},
    {"ship-phone-number", C::Tel},
    {"buyer-phone-number", C::Tel},
    {"product-name", C::ItemName},
    {"quantity-purchased", C::Quantity},
    {"payment-method", C::Payment},
    {"cod-collectible-amount", C::Total},
    {"delivery-start-date", C::DeliveryDate},
    {"delivery-time-zone", C::DeliveryTime},
    {"delivery-Instructions", C::Notes},
};
constexpr PlatformRef kAmazonRefs[] = {{"order-item-id", "order-item-id"}};

// Yahoo! Shopping (store creator): the order download, one row per item, with the API's field names.
constexpr std::string_view kYahooOrder[] = {"ShipZipCode", "ShipPrefecture", "ShipCity"};
constexpr Names kYahooSignatures[] = {kYahooOrder};
constexpr PlatformColumn kYahooColumns[] = {
    {"Id", C::OrderNo},
    {"OrderId", C::OrderNo},
    {"ShipLastName", C::Name}, // split names first: ShipName then stays out
    {"ShipName", C::Name},
    {"ShipFirstName", C::Name2},
    {"ShipZipCode", C::Zip},
    {"ShipPrefecture", C::Prefecture},
    {"ShipCity", C::Address1},
    {"ShipAddress1", C::Address2},
    {"ShipAddress2", C::Building},
    {"ShipPhoneNumber", C::Tel},
    {"Title", C::ItemName},
    {"Quantity", C::Quantity},
    {"PayMethodName", C::Payment},
    {"TotalPrice", C::Total},
    {"ShipRequestDate", C::DeliveryDate},
    {"ShipRequestTime", C::DeliveryTime},
    {"ShipNotes", C::Notes},
    {"BuyerComments", C::Notes},
};

// Shopify: the orders export, one row per line item, the order's columns on its first row only.
constexpr std::string_view kShopifyOrders[] = {"Name", "Lineitem name", "Shipping Zip"};
constexpr Names kShopifySignatures[] = {kShopifyOrders};
constexpr PlatformColumn kShopifyColumns[] = {
    {"Name", C::OrderNo},
    {"Shipping Name", C::Name},
    {"Shipping Zip", C::Zip},
    {"Shipping Province", C::Prefecture},
    {"Shipping City", C::Address1},
    {"Shipping Address1", C::Address2},
    {"Shipping Address2", C::Building},
    {"Shipping Company", C::Company},
    {"Shipping Phone", C::Tel},
    {"Lineitem name", C::ItemName},
    {"Lineitem quantity", C::Quantity},
    {"Payment Method", C::Payment},
    {"Total", C::Total},
    {"Notes", C::Notes},
};

// Color Me Shop: sales_all, one row per item and shipping address (配送先ID).
constexpr std::string_view kColorMeSales[] = {"売上ID", "配送先 名前", "購入商品 商品名"};
constexpr Names kColorMeSignatures[] = {kColorMeSales};
constexpr PlatformColumn kColorMeColumns[] = {
    {"売上ID", C::OrderNo},
    {"配送先 名前", C::Name},
    {"配送先 郵便番号", C::Zip},
    {"配送先 都道府県名", C::Prefecture},
    {"配送先 住所", C::Address1},
    {"配送先 電話番号", C::Tel},
    {"購入商品 商品名", C::ItemName},
    {"購入商品 販売個数", C::Quantity},
    {"決済方法", C::Payment},
    {"売上総額", C::Total},
    {"総合計", C::Total},
    {"配送希望日", C::DeliveryDate},
    {"配送希望時間", C::DeliveryTime},
    {"配送先 備考", C::Notes},
};
constexpr std::string_view kColorMeDestination[] = {"配送先ID"};

// futureshop: the order download, one row per item and shipping address (お届け先別明細番号).
constexpr std::string_view kFutureShopOrders[] = {"受注コード", "お届け先氏名（姓）", "お届け先都道府県区分"};
constexpr Names kFutureShopSignatures[] = {kFutureShopOrders};
constexpr PlatformColumn kFutureShopColumns[] = {
    {"受注コード", C::OrderNo},
    {"お届け先氏名（姓）", C::Name},
    {"お届け先氏名（名）", C::Name2},
    {"お届け先郵便番号", C::Zip},
    {"お届け先都道府県区分", C::Prefecture},
    {"お届け先住所１", C::Address1},
    {"お届け先住所２", C::Address2},
    {"お届け先住所３", C::Address3},
    {"お届け先電話番号", C::Tel},
    {"商品名", C::ItemName},
    {"購入数量", C::Quantity},
    {"決済方法", C::Payment},
    {"請求合計金額", C::Total},
    {"総合計金額", C::Total},
    {"お届け希望日", C::DeliveryDate},
    {"お届け希望時間", C::DeliveryTime},
    {"詳細指定事項欄", C::Notes},
    {"通信欄", C::Notes},
};
constexpr std::string_view kFutureShopDestination[] = {"お届け先別明細番号"};

constexpr PlatformFormat kFormats[] = {
    {Platform::Rakuten, kRakutenSignatures, kRakutenColumns, kRakutenRefs, kRakutenDestination},
    {Platform::Amazon, kAmazonSignatures, kAmazonColumns, kAmazonRefs, {}},
    {Platform::Yahoo, kYahooSignatures, kYahooColumns, {}, {}},
    {Platform::Shopify, kShopifySignatures, kShopifyColumns, {}, {}},
    {Platform::ColorMe, kColorMeSignatures, kColorMeColumns, {}, kColorMeDestination},
    {Platform::FutureShop, kFutureShopSignatures, kFutureShopColumns, {}, kFutureShopDestination},
};

} // namespace

std::string_view PlatformName(Platform p) {
    switch (p) {
    case Platform::Rakuten:
        return "rakuten";
    case Platform::Amazon:
        return "amazon";
    case Platform::Yahoo:
        return "yahoo";
    case Platform::Shopify:
        return "shopify";
    case Platform::ColorMe:
        return "colorme";
    case Platform::FutureShop:
        return "futureshop";
    case Platform::Other:
        break;
    }
    return "other";
}

std::span<const PlatformFormat> PlatformFormats() {
    return kFormats;
}

const PlatformFormat* FormatOf(Platform p) {
    for (const PlatformFormat& f : kFormats)
        if (f.platform == p) return &f;
    return nullptr;
}

Platform RecognisePlatform(const std::vector<std::string>& header) {
    std::vector<std::string> normalised = NormaliseHeaders(header);
    const std::unordered_set<std::string> words(normalised.begin(), normalised.end());
    for (const PlatformFormat& f : kFormats)
        for (Names signature : f.signatures)
            if (std::all_of(signature.begin(), signature.end(),
                            [&](std::string_view h) { return words.contains(NormaliseHeader(h)); }))
                return f.platform;
    return Platform::Other;
}

std::vector<std::string> NormaliseHeaders(const std::vector<std::string>& header) {
    std::vector<std::string> words;
    words.reserve(header.size());
    for (const std::string& h : header)
        words.push_back(NormaliseHeader(h));
    return words;
}

int FindHeader(const std::vector<std::string>& normalised, std::string_view name) {
    auto it = std::find(normalised.begin(), normalised.end(), NormaliseHeader(name));
    return it == normalised.end() ? kNoColumn : static_cast<int>(it - normalised.begin());
}

} // namespace orders
