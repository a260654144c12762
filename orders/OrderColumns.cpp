#include "orders/OrderColumns.h"

#include "orders/HeaderWords-private.h"
#include "orders/OrderText.h"
#include "orders/Platforms.h"
#include "platform/Cp932.h"
#include "platform/Cp932Codec.h"
#include "platform/ProfileFile.h"

#include <algorithm>
#include <optional>
#include <span>

namespace orders {
namespace {

using C = OrderColumn;

constexpr std::array<OrderColumnInfo, kOrderColumnCount> kInfos = {{
    {C::OrderNo, "OrderNo", "注文番号", false, false},
    {C::Zip, "Zip", "郵便番号", true, false},
    {C::Zip2, "Zip2", "郵便番号（下4桁）", false, false},
    {C::Prefecture, "Prefecture", "都道府県", false, false},
    {C::Address1, "Address1", "住所1（市区町村）", true, false},
    {C::Address2, "Address2", "住所2（番地）", false, false},
    {C::Address3, "Address3", "住所3", false, false},
    {C::Building, "Building", "建物名", false, false},
    {C::Name, "Name", "お名前", true, false},
    {C::Name2, "Name2", "お名前（名・2行目）", false, false},
    {C::Company, "Company", "会社名", false, false},
    {C::Tel, "Tel", "電話番号", false, false},
    {C::Tel2, "Tel2", "電話番号（2つ目）", false, false},
    {C::Tel3, "Tel3", "電話番号（3つ目）", false, false},
    {C::ItemName, "ItemName", "商品名", false, false},
    {C::ItemName2, "ItemName2", "商品名2", false, false},
    {C::ItemName3, "ItemName3", "商品名3", false, false},
    {C::Quantity, "Quantity", "数量", false, false},
    {C::Total, "Total", "合計金額（代引金額）", false, true},
    {C::Payment, "Payment", "支払方法", false, true},
    {C::DeliveryDate, "DeliveryDate", "お届け希望日", false, false},
    {C::DeliveryTime, "DeliveryTime", "お届け時間帯", false, false},
    {C::Notes, "Notes", "備考", false, false},
    {C::SenderZip, "SenderZip", "ご依頼主郵便番号", false, false},
    {C::SenderAddress1, "SenderAddress1", "ご依頼主住所1", false, false},
    {C::SenderAddress2, "SenderAddress2", "ご依頼主住所2", false, false},
    {C::SenderName, "SenderName", "ご依頼主名", false, false},
    {C::SenderTel, "SenderTel", "ご依頼主電話番号", false, false},
}};

// What a header says, before the file as a whole decides which column serves which kind.
enum class Kind {
    OrderNo,
    Item,
    Item2,
    Item3,
    Quantity,
    Total,
    Payment,
    DeliveryDate,
    DeliveryTime,
    Notes,
    // Per person (shipping address, orderer, sender):
    Zip,
    ZipPart1,
    ZipPart2,
    Prefecture,
    City,
    Address, // 住所, address: the whole address or its first part
    Street,
    StreetCombined, // an English export's street line that repeats address lines 1 and 2
    AddressNumbered,
    Building,
    FullName,
    Family,
    Given,
    NameOrGiven, // 名前 / 名: the given name beside a family name, else the whole name
    NameLine2,
    Company,
    Tel,
    TelPart1,
    TelPart2,
    TelPart3,
};

enum class Tier { ShipTo, Plain, Buyer, Sender };

struct Stem {
    std::string_view text;
    Kind kind;
    int priority = 0; // lower wins among headers of one kind
};

constexpr Stem kOrderStems[] = {
    {"注文番号", Kind::OrderNo},
    {"受注番号", Kind::OrderNo},
    {"注文id", Kind::OrderNo},
    {"注文no", Kind::OrderNo},
    {"受注id", Kind::OrderNo},
    {"受注no", Kind::OrderNo},
    {"オーダー番号", Kind::OrderNo},
    {"オーダーid", Kind::OrderNo},
    {"orderid", Kind::OrderNo},
    {"orderno", Kind::OrderNo},
    {"ordernumber", Kind::OrderNo},
    {"注文コード", Kind::OrderNo, 1},
    {"受注コード", Kind::OrderNo, 1},
    {"売上id", Kind::OrderNo, 1},
    {"order", Kind::OrderNo, 1},
    {"ordername", Kind::OrderNo, 1},
    {"お客様管理番号", Kind::OrderNo, 2},
    {"管理番号", Kind::OrderNo, 3},
    {"商品名", Kind::Item},
    {"商品名称", Kind::Item},
    {"商品名1", Kind::Item},
    {"品名1", Kind::Item},
    {"itemname", Kind::Item},
    {"productname", Kind::Item},
    {"lineitemname", Kind::Item},
    {"品名", Kind::Item, 1},
    {"商品", Kind::Item, 2},
    {"item", Kind::Item, 2},
    {"product", Kind::Item, 2},
    {"title", Kind::Item, 2},
    {"商品商品名", Kind::Item, 1},
    {"購入商品商品名", Kind::Item, 1},
    {"商品名2", Kind::Item2},
    {"品名2", Kind::Item2},
    {"商品名3", Kind::Item3},
    {"品名3", Kind::Item3},
    {"数量", Kind::Quantity},
    {"個数", Kind::Quantity},
    {"注文数量", Kind::Quantity},
    {"購入数量", Kind::Quantity},
    {"quantity", Kind::Quantity},
    {"qty", Kind::Quantity},
    {"lineitemquantity", Kind::Quantity},
    {"itemquantity", Kind::Quantity},
    {"quantitypurchased", Kind::Quantity},
    {"販売個数", Kind::Quantity, 1},
    {"購入商品販売個数", Kind::Quantity, 1},
    {"注文数", Kind::Quantity, 1},
    {"購入数", Kind::Quantity, 1},
    {"代引金額", Kind::Total},
    {"代引き金額", Kind::Total},
    {"代引額", Kind::Total},
    {"代金引換金額", Kind::Total},
    {"代金引換額", Kind::Total},
    {"codcollectibleamount", Kind::Total},
    {"代引請求金額", Kind::Total},
    {"請求合計金額", Kind::Total, 1},
    {"請求金額", Kind::Total, 1},
    {"ご請求金額", Kind::Total, 1},
    {"お支払い金額", Kind::Total, 1},
    {"お支払金額", Kind::Total, 1},
    {"支払金額", Kind::Total, 1},
    {"支払い金額", Kind::Total, 1},
    {"合計金額", Kind::Total, 2},
    {"総合計", Kind::Total, 2},
    {"総合計金額", Kind::Total, 2},
    {"注文合計金額", Kind::Total, 2},
    {"total", Kind::Total, 2},
    {"ordertotal", Kind::Total, 2},
    {"grandtotal", Kind::Total, 2},
    {"totalprice", Kind::Total, 2},
    {"販売価格合計", Kind::Total, 2},
    {"売上総額", Kind::Total, 2},
    {"合計請求金額", Kind::Total, 2},
    {"お支払合計", Kind::Total, 2},
    {"お支払い合計", Kind::Total, 2},
    {"合計", Kind::Total, 3},
    {"注文金額", Kind::Total, 3},
    {"注文合計", Kind::Total, 3},
    {"決済方法", Kind::Payment},
    {"支払方法", Kind::Payment},
    {"支払い方法", Kind::Payment},
    {"お支払方法", Kind::Payment},
    {"お支払い方法", Kind::Payment},
    {"paymentmethod", Kind::Payment},
    {"支払方法名", Kind::Payment},
    {"支払い方法名", Kind::Payment},
    {"お支払方法名", Kind::Payment},
    {"決済方法名", Kind::Payment},
    {"paymethodname", Kind::Payment},
    {"paymethod", Kind::Payment, 1},
    {"決済", Kind::Payment, 1},
    {"決済種別", Kind::Payment, 1},
    {"支払区分", Kind::Payment, 1},
    {"支払種別", Kind::Payment, 1},
    {"payment", Kind::Payment, 1},
    {"paymentgateway", Kind::Payment, 1},
    {"paymenttype", Kind::Payment, 1},
    {"お届け希望日", Kind::DeliveryDate},
    {"お届け日指定", Kind::DeliveryDate},
    {"お届け指定日", Kind::DeliveryDate},
    {"配送希望日", Kind::DeliveryDate},
    {"配送指定日", Kind::DeliveryDate},
    {"配達希望日", Kind::DeliveryDate},
    {"配達指定日", Kind::DeliveryDate},
    {"deliverydate", Kind::DeliveryDate},
    {"requesteddeliverydate", Kind::DeliveryDate},
    {"お届け日", Kind::DeliveryDate, 1},
    {"お届け予定日", Kind::DeliveryDate, 1},
    {"着指定日", Kind::DeliveryDate, 1},
    {"配送日", Kind::DeliveryDate, 2},
    {"shiprequestdate", Kind::DeliveryDate},
    {"お届け時間帯", Kind::DeliveryTime},
    {"お届け希望時間帯", Kind::DeliveryTime},
    {"お届け時間指定", Kind::DeliveryTime},
    {"配送希望時間帯", Kind::DeliveryTime},
    {"配送時間帯", Kind::DeliveryTime},
    {"配達時間帯", Kind::DeliveryTime},
    {"配達希望時間帯", Kind::DeliveryTime},
    {"配達指定時間帯", Kind::DeliveryTime},
    {"deliverytime", Kind::DeliveryTime},
    {"deliverytimeslot", Kind::DeliveryTime},
    {"お届け時間", Kind::DeliveryTime, 1},
    {"配送希望時間", Kind::DeliveryTime, 1},
    {"時間帯指定", Kind::DeliveryTime, 1},
    {"時間指定", Kind::DeliveryTime, 1},
    {"時間帯", Kind::DeliveryTime, 2},
    {"お届け希望時間", Kind::DeliveryTime},
    {"shiprequesttime", Kind::DeliveryTime},
    {"備考", Kind::Notes},
    {"備考欄", Kind::Notes},
    {"notes", Kind::Notes},
    {"note", Kind::Notes},
    {"コメント", Kind::Notes},
    {"通信欄", Kind::Notes},
    {"ご要望", Kind::Notes},
    {"要望", Kind::Notes},
    {"配送指示", Kind::Notes},
    {"配達指示", Kind::Notes},
    {"deliveryinstructions", Kind::Notes},
    {"shipnotes", Kind::Notes},
    {"comment", Kind::Notes, 1},
    {"comments", Kind::Notes, 1},
};

constexpr Stem kPersonStems[] = {
    {"郵便番号", Kind::Zip},
    {"zip", Kind::Zip},
    {"zipcode", Kind::Zip},
    {"postcode", Kind::Zip},
    {"postalcode", Kind::Zip},
    {"〒", Kind::Zip, 1},
    {"郵便", Kind::Zip, 1},
    {"postal", Kind::Zip, 1},
    {"郵便番号1", Kind::ZipPart1},
    {"郵便番号2", Kind::ZipPart2},
    {"都道府県", Kind::Prefecture},
    {"都道府県名", Kind::Prefecture},
    {"住所都道府県", Kind::Prefecture},
    {"prefecture", Kind::Prefecture},
    {"provincename", Kind::Prefecture},
    {"statename", Kind::Prefecture},
    {"県名", Kind::Prefecture, 1},
    {"province", Kind::Prefecture, 1}, // may hold a code such as JP-13
    {"state", Kind::Prefecture, 1},
    {"市区町村", Kind::City},
    {"市区町村名", Kind::City},
    {"市町村", Kind::City},
    {"市区郡", Kind::City},
    {"市区町村郡", Kind::City},
    {"住所市区町村", Kind::City},
    {"住所都市区", Kind::City},
    {"住所郡市区", Kind::City},
    {"住所市区郡", Kind::City},
    {"city", Kind::City},
    {"住所", Kind::Address},
    {"ご住所", Kind::Address},
    {"所在地", Kind::Address},
    {"おところ", Kind::Address},
    {"address", Kind::Address},
    {"住所町以降", Kind::Street},
    {"住所それ以降の住所", Kind::Street},
    {"それ以降の住所", Kind::Street},
    {"市区町村以降", Kind::Street},
    {"町名番地", Kind::Street},
    {"町域番地", Kind::Street},
    {"丁目番地", Kind::Street},
    {"住所番地", Kind::Street},
    {"番地", Kind::Street},
    {"番地以降", Kind::Street},
    {"町名", Kind::Street},
    {"町域", Kind::Street},
    {"address1", Kind::Street},
    {"addressline1", Kind::Street},
    {"street", Kind::StreetCombined},
    {"streetaddress", Kind::StreetCombined},
    {"建物名", Kind::Building},
    {"建物", Kind::Building},
    {"建物名等", Kind::Building},
    {"建物名部屋番号", Kind::Building},
    {"住所建物名", Kind::Building},
    {"ビル名", Kind::Building},
    {"マンション名", Kind::Building},
    {"ビルマンション名", Kind::Building},
    {"アパートマンション名", Kind::Building},
    {"address2", Kind::Building},
    {"addressline2", Kind::Building},
    {"building", Kind::Building},
    {"buildingname", Kind::Building},
    {"apartment", Kind::Building},
    {"氏名", Kind::FullName},
    {"お名前", Kind::FullName},
    {"氏名漢字", Kind::FullName},
    {"名前漢字", Kind::FullName},
    {"名称", Kind::FullName},
    {"名称1", Kind::FullName},
    {"氏名1", Kind::FullName},
    {"宛名", Kind::FullName},
    {"宛名1", Kind::FullName},
    {"name", Kind::FullName},
    {"fullname", Kind::FullName},
    {"名字", Kind::Family},
    {"苗字", Kind::Family},
    {"姓", Kind::Family},
    {"氏名姓", Kind::Family},
    {"姓漢字", Kind::Family},
    {"lastname", Kind::Family},
    {"familyname", Kind::Family},
    {"surname", Kind::Family},
    {"氏名名", Kind::Given},
    {"名漢字", Kind::Given},
    {"firstname", Kind::Given},
    {"givenname", Kind::Given},
    {"名前", Kind::NameOrGiven},
    {"名", Kind::NameOrGiven},
    {"名称2", Kind::NameLine2},
    {"氏名2", Kind::NameLine2},
    {"宛名2", Kind::NameLine2},
    {"会社名", Kind::Company},
    {"会社", Kind::Company},
    {"法人名", Kind::Company},
    {"企業名", Kind::Company},
    {"団体名", Kind::Company},
    {"company", Kind::Company},
    {"companyname", Kind::Company},
    {"organization", Kind::Company},
    {"電話番号", Kind::Tel},
    {"電話", Kind::Tel},
    {"tel", Kind::Tel},
    {"telephone", Kind::Tel},
    {"phone", Kind::Tel},
    {"phonenumber", Kind::Tel},
    {"携帯電話番号", Kind::Tel, 1},
    {"携帯電話", Kind::Tel, 1},
    {"携帯番号", Kind::Tel, 1},
    {"電話番号1", Kind::TelPart1},
    {"tel1", Kind::TelPart1},
    {"電話番号2", Kind::TelPart2},
    {"tel2", Kind::TelPart2},
    {"電話番号3", Kind::TelPart3},
    {"tel3", Kind::TelPart3},
};

struct Prefix {
    std::string_view text;
    Tier tier;
};

// Longest first, so that "ご依頼主" is tried before "依頼主" and "shipper" before "ship".
constexpr Prefix kPrefixes[] = {
    {"shippingaddress", Tier::ShipTo},
    {"billingaddress", Tier::Buyer},
    {"受け取り人", Tier::ShipTo},
    {"荷送り人", Tier::Sender},
    {"recipient", Tier::ShipTo},
    {"consignee", Tier::ShipTo},
    {"purchaser", Tier::Buyer},
    {"shipping", Tier::ShipTo},
    {"delivery", Tier::ShipTo},
    {"customer", Tier::Buyer},
    {"shipfrom", Tier::Sender},
    {"お届け先", Tier::ShipTo},
    {"ご注文者", Tier::Buyer},
    {"ご購入者", Tier::Buyer},
    {"ご請求先", Tier::Buyer},
    {"ご依頼主", Tier::Sender},
    {"billing", Tier::Buyer},
    {"shipper", Tier::Sender},
    {"sender", Tier::Sender},
    {"shipto", Tier::ShipTo},
    {"お届先", Tier::ShipTo},
    {"届け先", Tier::ShipTo},
    {"送付先", Tier::ShipTo},
    {"配送先", Tier::ShipTo},
    {"発送先", Tier::ShipTo},
    {"送り先", Tier::ShipTo},
    {"配達先", Tier::ShipTo},
    {"受取人", Tier::ShipTo},
    {"お届け", Tier::ShipTo},
    {"注文者", Tier::Buyer},
    {"購入者", Tier::Buyer},
    {"請求先", Tier::Buyer},
    {"注文主", Tier::Buyer},
    {"依頼主", Tier::Sender},
    {"依頼者", Tier::Sender},
    {"発送元", Tier::Sender},
    {"差出人", Tier::Sender},
    {"送り主", Tier::Sender},
    {"出荷元", Tier::Sender},
    {"荷送人", Tier::Sender},
    {"buyer", Tier::Buyer},
    {"届先", Tier::ShipTo},
    {"送先", Tier::ShipTo},
    {"受取", Tier::ShipTo},
    {"送主", Tier::Sender},
    {"ship", Tier::ShipTo},
    {"bill", Tier::Buyer},
    {"from", Tier::Sender},
};

// Headers about reading aids and other channels, never a slip's value.
constexpr std::string_view kIgnoredWords[] = {
    "カナ", "かな", "フリガナ", "ふりがな", "振り仮名", "振仮名", "ﾌﾘｶﾞﾅ",      "ｶﾅ", "ヨミ",
    "よみ", "kana", "furigana", "メール",   "mail",     "fax",    "ファックス", "url"};

// Lower-case ASCII with full-width letters and digits folded to it, and blanks, punctuation and
// brackets dropped: "送付先 住所：都道府県", "Shipping_Zip" and "ＴＥＬ（１）" compare as their words.
} // namespace

std::string NormaliseHeader(std::string_view header) {
    std::string out;
    std::size_t i = 0;
    while (i < header.size()) {
        std::size_t start = i;
        std::uint32_t cp = NextCodePoint(header, i);
        if (cp >= 0xFF01 && cp <= 0xFF5E) cp -= 0xFEE0; // full-width ASCII
        if (cp < 0x80) {
            char c = static_cast<char>(cp);
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) out += c;
            continue; // other ASCII is punctuation
        }
        switch (cp) {
        case 0x3000: // ideographic space
        case 0x30FB: // ・
        case 0xFF65: // ･
        case 0x3010: // 【
        case 0x3011: // 】
        case 0x300C: // 「
        case 0x300D: // 」
        case 0x2010: // ‐
        case 0x2212: // −
            continue;
        default:
            out.append(header.substr(start, i - start));
        }
    }
    return out;
}

namespace {

const Stem* FindStem(std::string_view word, const Stem* begin, const Stem* end) {
    for (const Stem* s = begin; s != end; ++s)
        if (s->text == word) return s;
    return nullptr;
}

struct Candidate {
    int column;
    Kind kind;
    int priority;
    Tier tier;
    int number = 0; // of a numbered address line
    bool bareName = false;
};

// 住所1 ... 住所9 and their sender spellings: numbered address lines.
std::optional<int> NumberedAddress(std::string_view word) {
    for (std::string_view stem :
         {std::string_view("住所"), std::string_view("ご住所"), std::string_view("address")}) {
        if (word.size() == stem.size() + 1 && word.starts_with(stem) && word.back() >= '1' &&
            word.back() <= '9') {
            int n = word.back() - '0';
            if (stem == "address" && n <= 2) return std::nullopt; // address1/address2 are street and building
            return n;
        }
    }
    return std::nullopt;
}

std::optional<Candidate> Classify(std::string_view header, int column) {
    std::string word = NormaliseHeader(header);
    if (word.empty()) return std::nullopt;
    for (std::string_view w : kIgnoredWords)
        if (word.find(w) != std::string::npos) return std::nullopt;
    if (const Stem* s = FindStem(word, std::begin(kOrderStems), std::end(kOrderStems)))
        return Candidate{column, s->kind, s->priority, Tier::Plain};
    auto person = [&](std::string_view rest, Tier tier) -> std::optional<Candidate> {
        if (const Stem* s = FindStem(rest, std::begin(kPersonStems), std::end(kPersonStems)))
            return Candidate{column, s->kind, s->priority, tier, 0, tier == Tier::Plain && rest == "name"};
        if (auto n = NumberedAddress(rest)) return Candidate{column, Kind::AddressNumbered, 0, tier, *n};
        return std::nullopt;
    };
    if (auto c = person(word, Tier::Plain)) return c;
    for (const Prefix& p : kPrefixes)
        if (word.size() > p.text.size() && word.starts_with(p.text))
            if (auto c = person(std::string_view(word).substr(p.text.size()), p.tier)) return c;
    return std::nullopt;
}

class Assigner {
public:
    Assigner(const std::vector<Candidate>& all, ColumnMapping& m) : all_(all), m_(m) {}

    // The best column of one of `kinds` among candidates of `tier`.
    const Candidate* Best(std::initializer_list<Kind> kinds, std::optional<Tier> tier) const {
        const Candidate* best = nullptr;
        for (const Candidate& c : all_) {
            if (tier && c.tier != *tier) continue;
            if (std::find(kinds.begin(), kinds.end(), c.kind) == kinds.end()) continue;
            if (!best || c.priority < best->priority) best = &c;
        }
        return best;
    }
    bool Has(std::initializer_list<Kind> kinds, Tier tier) const { return Best(kinds, tier) != nullptr; }
    void Set(OrderColumn col, const Candidate* c) {
        if (c) m_[col] = c->column;
    }

    // Address parts of one tier in reading order: city, whole address, numbered lines, street.
    std::vector<const Candidate*> AddressParts(Tier tier) const {
        bool street = Has({Kind::Street}, tier);
        std::vector<const Candidate*> parts;
        for (const Candidate& c : all_) {
            if (c.tier != tier) continue;
            if (c.kind == Kind::City || c.kind == Kind::Address || c.kind == Kind::Street ||
                c.kind == Kind::AddressNumbered || (c.kind == Kind::StreetCombined && !street))
                parts.push_back(&c);
        }
        auto rank = [](const Candidate* c) {
            switch (c->kind) {
            case Kind::City:
                return 0;
            case Kind::Address:
                return 1;
            case Kind::AddressNumbered:
                return c->number;
            default:
                return 2;
            }
        };
        std::stable_sort(parts.begin(), parts.end(),
                         [&](const Candidate* a, const Candidate* b) { return rank(a) < rank(b); });
        return parts;
    }

private:
    const std::vector<Candidate>& all_;
    ColumnMapping& m_;
};

constexpr std::initializer_list<Kind> kZipKinds = {Kind::Zip, Kind::ZipPart1};
constexpr std::initializer_list<Kind> kAddressKinds = {
    Kind::Prefecture,      Kind::City,    Kind::Address, Kind::Street, Kind::StreetCombined,
    Kind::AddressNumbered, Kind::Building};
constexpr std::initializer_list<Kind> kNameKinds = {Kind::FullName, Kind::Family, Kind::NameOrGiven};
constexpr std::initializer_list<Kind> kTelKinds = {Kind::Tel, Kind::TelPart1};

void AssignConsignee(Assigner& a, Tier tier) {
    const bool zipSplit = a.Has({Kind::ZipPart1}, tier) && a.Has({Kind::ZipPart2}, tier);
    if (zipSplit) {
        a.Set(C::Zip, a.Best({Kind::ZipPart1}, tier));
        a.Set(C::Zip2, a.Best({Kind::ZipPart2}, tier));
    } else {
        a.Set(C::Zip, a.Best(kZipKinds, tier));
    }
}

void AssignAddress(Assigner& a, Tier tier) {
    a.Set(C::Prefecture, a.Best({Kind::Prefecture}, tier));
    auto parts = a.AddressParts(tier);
    const OrderColumn lines[] = {C::Address1, C::Address2, C::Address3};
    for (std::size_t i = 0; i < parts.size() && i < 3; ++i)
        a.Set(lines[i], parts[i]);
    a.Set(C::Building, a.Best({Kind::Building}, tier));
}

void AssignName(Assigner& a, Tier tier) {
    if (const Candidate* full = a.Best({Kind::FullName}, tier)) {
        a.Set(C::Name, full);
        a.Set(C::Name2, a.Best({Kind::NameLine2}, tier));
    } else if (const Candidate* family = a.Best({Kind::Family}, tier)) {
        a.Set(C::Name, family);
        a.Set(C::Name2, a.Best({Kind::Given, Kind::NameOrGiven}, tier));
    } else {
        a.Set(C::Name, a.Best({Kind::NameOrGiven}, tier));
    }
}

void AssignTel(Assigner& a, Tier tier) {
    if (a.Has({Kind::TelPart1}, tier) && a.Has({Kind::TelPart2}, tier) && a.Has({Kind::TelPart3}, tier)) {
        a.Set(C::Tel, a.Best({Kind::TelPart1}, tier));
        a.Set(C::Tel2, a.Best({Kind::TelPart2}, tier));
        a.Set(C::Tel3, a.Best({Kind::TelPart3}, tier));
    } else {
        a.Set(C::Tel, a.Best(kTelKinds, tier));
    }
}

void AssignSender(Assigner& a, ColumnMapping& m) {
    a.Set(C::SenderZip, a.Best(kZipKinds, Tier::Sender));
    a.Set(C::SenderName, a.Best({Kind::FullName, Kind::Family, Kind::NameOrGiven}, Tier::Sender));
    a.Set(C::SenderTel, a.Best(kTelKinds, Tier::Sender));
    std::vector<const Candidate*> lines;
    if (const Candidate* pref = a.Best({Kind::Prefecture}, Tier::Sender)) lines.push_back(pref);
    for (const Candidate* c : a.AddressParts(Tier::Sender))
        lines.push_back(c);
    if (const Candidate* b = a.Best({Kind::Building}, Tier::Sender)) lines.push_back(b);
    if (lines.size() > 0) m[C::SenderAddress1] = lines[0]->column;
    if (lines.size() > 1) m[C::SenderAddress2] = lines[1]->column;
}

// The header row as a section name: its cells joined with commas, line breaks as blanks and "]"
// (which would end the name) as "］".
std::string SectionFor(const std::vector<std::string>& header) {
    std::string joined;
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (i) joined += ',';
        joined += cp932::FromUtf8(header[i]);
    }
    std::string name;
    for (std::size_t i = 0; i < joined.size(); i = cp932::NextChar(joined, i)) {
        if (cp932::CharLength(joined, i) == 2)
            name.append(joined, i, 2);
        else if (joined[i] == ']')
            name += "\x81\x6E"; // ］
        else
            name += joined[i] == '\r' || joined[i] == '\n' ? ' ' : joined[i];
    }
    return cp932::PlainTrim(name);
}

// The header names as the mapping file holds them, converted once rather than once per kind of column.
std::vector<std::string> Cp932Names(const std::vector<std::string>& header) {
    std::vector<std::string> names;
    names.reserve(header.size());
    for (const std::string& h : header)
        names.push_back(cp932::FromUtf8(h));
    return names;
}

// A platform's own columns, where its file has them, before anything the vocabulary guessed; the
// kinds they fill are taken from the other columns.
void ApplyPlatform(const std::vector<std::string>& header, ColumnMapping& m) {
    m.platform = RecognisePlatform(header);
    const PlatformFormat* format = FormatOf(m.platform);
    if (!format) return;
    const std::vector<std::string> words = NormaliseHeaders(header);
    std::array<bool, kOrderColumnCount> set{};
    for (const PlatformColumn& pc : format->columns) {
        const auto k = static_cast<std::size_t>(pc.column);
        if (set[k]) continue;
        if (int col = FindHeader(words, pc.header); col != kNoColumn) {
            for (int& other : m.columns)
                if (other == col) other = kNoColumn;
            m.columns[k] = col;
            set[k] = true;
        }
    }
    for (const PlatformRef& r : format->refs)
        if (int col = FindHeader(words, r.header); col != kNoColumn)
            m.refs.emplace_back(std::string(r.key), col);
    for (std::string_view d : format->destination)
        if (int col = FindHeader(words, d); col != kNoColumn) m.destination = col;
}

// Words of a header that looks like a payment method or an amount the customer pays; and those of
// amounts that are something else (a fee, a tax, a unit price).
constexpr std::string_view kPaymentWords[] = {"支払", "決済", "payment", "paymethod", "代引", "代金引換"};
constexpr std::string_view kAmountWords[] = {"金額", "合計", "総額", "請求", "total", "amount", "price"};
constexpr std::string_view kOtherAmountWords[] = {"送料", "手数料",   "税",    "ポイント", "クーポン",
                                                  "割引", "単価",     "小計",  "shipping", "tax",
                                                  "fee",  "discount", "point", "unit",     "subtotal"};

bool HasWord(const std::string& word, std::span<const std::string_view> words) {
    return std::any_of(words.begin(), words.end(),
                       [&](std::string_view w) { return word.find(w) != std::string::npos; });
}

} // namespace

const std::array<OrderColumnInfo, kOrderColumnCount>& OrderColumnInfos() {
    return kInfos;
}

ColumnMapping RecogniseColumns(const std::vector<std::string>& header) {
    std::vector<Candidate> all;
    for (std::size_t i = 0; i < header.size(); ++i)
        if (auto c = Classify(header[i], static_cast<int>(i))) all.push_back(*c);
    ColumnMapping m;
    Assigner a(all, m);

    a.Set(C::OrderNo, a.Best({Kind::OrderNo}, std::nullopt));
    a.Set(C::ItemName, a.Best({Kind::Item}, std::nullopt));
    a.Set(C::ItemName2, a.Best({Kind::Item2}, std::nullopt));
    a.Set(C::ItemName3, a.Best({Kind::Item3}, std::nullopt));
    a.Set(C::Quantity, a.Best({Kind::Quantity}, std::nullopt));
    a.Set(C::Total, a.Best({Kind::Total}, std::nullopt));
    a.Set(C::Payment, a.Best({Kind::Payment}, std::nullopt));
    a.Set(C::DeliveryDate, a.Best({Kind::DeliveryDate}, std::nullopt));
    a.Set(C::DeliveryTime, a.Best({Kind::DeliveryTime}, std::nullopt));
    a.Set(C::Notes, a.Best({Kind::Notes}, std::nullopt));

    // The consignee is the shipping address when the file has one, else the unprefixed columns and
    // then the orderer's. Each group comes whole from one side, so two people are never mixed.
    const bool shipTo =
        std::any_of(all.begin(), all.end(), [](const Candidate& c) { return c.tier == Tier::ShipTo; });
    const Tier order[2] = {shipTo ? Tier::ShipTo : Tier::Plain, shipTo ? Tier::Plain : Tier::Buyer};
    auto firstWith = [&](std::initializer_list<Kind> kinds) {
        return a.Has(kinds, order[0]) ? order[0] : order[1];
    };
    AssignConsignee(a, firstWith(kZipKinds));
    AssignAddress(a, firstWith(kAddressKinds));
    AssignName(a, firstWith(kNameKinds));
    a.Set(C::Company, a.Best({Kind::Company}, firstWith({Kind::Company})));
    AssignTel(a, firstWith(kTelKinds));
    AssignSender(a, m);

    // An export whose names are all prefixed may call its order reference plainly "Name".
    if (m[C::OrderNo] == kNoColumn)
        for (const Candidate& c : all)
            if (c.bareName && c.column != m[C::Name]) {
                m[C::OrderNo] = c.column;
                break;
            }
    ApplyPlatform(header, m);
    return m;
}

std::vector<OrderColumn> MissingColumns(const ColumnMapping& m) {
    std::vector<OrderColumn> missing;
    for (const OrderColumnInfo& info : kInfos)
        if (info.required && m[info.column] == kNoColumn) missing.push_back(info.column);
    return missing;
}

std::pair<std::vector<int>, std::vector<int>> MoneyLookalikes(const ColumnMapping& m,
                                                              const std::vector<std::string>& header) {
    std::pair<std::vector<int>, std::vector<int>> found;
    for (int i : UnusedColumns(m, header.size())) {
        const std::string word = NormaliseHeader(header[static_cast<std::size_t>(i)]);
        bool ignored = false;
        for (std::string_view w : kIgnoredWords)
            ignored = ignored || word.find(w) != std::string::npos;
        if (ignored || word.empty()) continue;
        if (HasWord(word, kPaymentWords) && !HasWord(word, kOtherAmountWords) && !HasWord(word, kAmountWords))
            found.first.push_back(i);
        else if (HasWord(word, kAmountWords) && !HasWord(word, kOtherAmountWords))
            found.second.push_back(i);
    }
    return found;
}

std::vector<OrderColumn> UnsureColumns(const ColumnMapping& m, const std::vector<std::string>& header) {
    auto [payments, amounts] = MoneyLookalikes(m, header);
    std::vector<OrderColumn> unsure;
    const bool payment = m[C::Payment] != kNoColumn || !payments.empty();
    if (m[C::Payment] == kNoColumn && !payments.empty()) unsure.push_back(C::Payment);
    if (m[C::Total] == kNoColumn && !amounts.empty() && payment) unsure.push_back(C::Total);
    return unsure;
}

std::vector<int> UnusedColumns(const ColumnMapping& m, std::size_t headerSize) {
    std::vector<int> unused;
    for (int i = 0; i < static_cast<int>(headerSize); ++i)
        if (std::find(m.columns.begin(), m.columns.end(), i) == m.columns.end()) unused.push_back(i);
    return unused;
}

bool ReadMapping(const ProfileFile& ini, const std::vector<std::string>& header, ColumnMapping& mapping) {
    const std::string section = SectionFor(header);
    const std::vector<std::string> names = Cp932Names(header);
    constexpr std::string_view kMissing = "\x01";
    bool found = false;
    for (const OrderColumnInfo& info : kInfos) {
        std::string v = ini.ReadString(section, info.key, kMissing);
        if (v == kMissing) continue;
        found = true;
        if (v.empty()) {
            mapping[info.column] = kNoColumn;
        } else if (v.size() > 1 && v[0] == '#' &&
                   std::all_of(v.begin() + 1, v.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            std::size_t n = std::stoul(v.substr(1, 6));
            if (n >= 1 && n <= header.size()) mapping[info.column] = static_cast<int>(n - 1);
        } else {
            for (std::size_t i = 0; i < names.size(); ++i)
                if (names[i] == v) {
                    mapping[info.column] = static_cast<int>(i);
                    break;
                }
        }
    }
    return found;
}

void WriteMapping(ProfileFile& ini, const std::vector<std::string>& header, const ColumnMapping& mapping) {
    const std::string section = SectionFor(header);
    const std::vector<std::string> names = Cp932Names(header);
    for (const OrderColumnInfo& info : kInfos) {
        int col = mapping[info.column];
        std::string value;
        if (col >= 0 && static_cast<std::size_t>(col) < header.size()) {
            const std::string& name = header[static_cast<std::size_t>(col)];
            const std::string& cp = names[static_cast<std::size_t>(col)];
            // Unique as the file holds it: two headers may differ only in what CP932 folds together.
            bool unique = std::count(names.begin(), names.end(), cp) == 1;
            // A name is kept only where it reads back as itself: CP932 can hold it, no blanks at its ends,
            // nothing a profile file would take for a quote, a comment or a line end.
            // (Judged on the CP932 form: characters the conversion drops may leave it empty, or "#N".)
            bool plain = !cp.empty() && cp[0] != '#' && Unencodable(name).empty() &&
                         cp.size() <= ProfileFile::kMaxValueBytes &&
                         cp.find_first_of("\r\n") == std::string::npos && cp932::PlainTrim(cp) == cp &&
                         cp.front() != '"' && cp.front() != '\'';
            value = unique && plain ? cp : "#" + std::to_string(col + 1);
        }
        ini.WriteString(section, info.key, value);
    }
}

bool LoadMapping(const std::string& iniPath, const std::vector<std::string>& header, ColumnMapping& mapping) {
    return ReadMapping(ProfileFile(iniPath), header, mapping);
}

void SaveMapping(const std::string& iniPath, const std::vector<std::string>& header,
                 const ColumnMapping& mapping) {
    ProfileFile ini(iniPath);
    WriteMapping(ini, header, mapping);
    ini.Save();
}

} // namespace orders
