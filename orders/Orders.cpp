#include "orders/Orders.h"

#include "orders/OrderCleaning.h"
#include "orders/OrderText.h"
#include "platform/Cp932Codec.h"

#include <algorithm>
#include <unordered_map>

namespace orders {
namespace {

using C = OrderColumn;

constexpr C kPersonColumns[] = {C::Zip,      C::Zip2,     C::Prefecture, C::Address1, C::Address2,
                                C::Address3, C::Building, C::Name,       C::Name2,    C::Company,
                                C::Tel,      C::Tel2,     C::Tel3};
constexpr C kItemColumns[] = {C::ItemName, C::ItemName2, C::ItemName3};

std::string_view Caption(C c) {
    return OrderColumnInfos()[static_cast<std::size_t>(c)].caption;
}

std::string RowPrefix(std::size_t row) {
    return std::to_string(row) + "行目";
}

struct Draft {
    Order order;
    std::array<std::string, kOrderColumnCount> values;
    std::array<bool, kOrderColumnCount> conflictReported{};
    std::vector<std::string> itemNames;
};

// A cell's value, trimmed, its line breaks made blanks. A formula is never evaluated: ="..." (the usual way
// to keep leading zeros in a spreadsheet) gives the text inside, anything else after "=" is kept as it
// stands; both are reported with the row and column.
std::string CellValue(const OrderTable& t, const std::vector<std::string>& cells, int column, std::size_t row,
                      std::vector<std::string>& warnings) {
    if (column < 0 || static_cast<std::size_t>(column) >= cells.size()) return "";
    std::string v = TrimBlanks(cells[static_cast<std::size_t>(column)]);
    auto cell = [&] {
        return RowPrefix(row) + "「" + Excerpt(t.header[static_cast<std::size_t>(column)]) + "」";
    };
    if (v.find_first_of("\r\n") != std::string::npos) { // a field holds one line
        std::string joined;
        for (std::size_t i = 0; i < v.size(); ++i) {
            if (v[i] == '\r' && i + 1 < v.size() && v[i + 1] == '\n') continue;
            joined += v[i] == '\r' || v[i] == '\n' ? ' ' : v[i];
        }
        v = joined;
        warnings.push_back(cell() + "の改行を空白にしました");
    }
    if (!v.starts_with('=')) return v;
    std::string where = cell() + "の「" + Excerpt(v) + "」";
    if (v.size() >= 3 && v[1] == '"' && v.back() == '"' && v.find('"', 2) == v.size() - 1) {
        std::string inner = v.substr(2, v.size() - 3);
        warnings.push_back(where + "は数式として計算せず、文字「" + Excerpt(inner) + "」として読みました");
        return inner;
    }
    warnings.push_back(where + "は数式として計算せず、文字のまま使いました");
    return v;
}

std::string JoinNonEmpty(std::initializer_list<std::string_view> parts, std::string_view separator) {
    std::string out;
    for (std::string_view p : parts) {
        if (p.empty()) continue;
        if (!out.empty()) out += separator;
        out += p;
    }
    return out;
}

void Clean(Draft& d) {
    const auto& v = d.values;
    auto value = [&](C c) -> const std::string& { return v[static_cast<std::size_t>(c)]; };
    Order& o = d.order;
    OrderFields& f = o.fields;
    auto note = [&](const std::string& w) {
        if (!w.empty()) o.warnings.push_back(w);
    };

    o.ref = value(C::OrderNo);
    Cleaned zip = CleanPostcode(JoinNonEmpty({value(C::Zip), value(C::Zip2)}, "-"));
    f.Zip = zip.text;
    note(zip.warning);

    AddressLines a =
        LayoutAddress(value(C::Prefecture), {value(C::Address1), value(C::Address2), value(C::Address3)},
                      value(C::Building), value(C::Company));
    f.Add1 = a.add1, f.Add2 = a.add2, f.Add3 = a.add3;
    if (f.Add1.empty()) note("住所がありません");
    for (const std::string& w : a.warnings)
        note(w);

    f.Custo1 = JoinNonEmpty({value(C::Name), value(C::Name2)}, "\xE3\x80\x80"); // ideographic space
    if (f.Custo1.empty()) note("お名前がありません");

    Cleaned tel = CleanPhone(JoinNonEmpty({value(C::Tel), value(C::Tel2), value(C::Tel3)}, "-"));
    f.Tel = tel.text;
    note(tel.warning);

    GoodsLines g = LayoutGoods(d.itemNames);
    f.G1 = g.g1, f.G2 = g.g2, f.G3 = g.g3;
    for (const std::string& w : g.warnings)
        note(w);

    o.total = value(C::Total);
    o.payment = value(C::Payment);
    if (IsCashOnDelivery(o.payment)) {
        Cleaned amount = CashOnDeliveryAmount(o.total);
        f.PriceSub = amount.text;
        f.P1 = true;
        note(amount.warning);
    }

    const std::pair<const char*, const std::string*> shown[] = {
        {"郵便番号", &f.Zip},   {"おところ①", &f.Add1},  {"おところ②", &f.Add2},
        {"おところ③", &f.Add3}, {"おなまえ", &f.Custo1}, {"でんわ", &f.Tel},
        {"品名1", &f.G1},       {"品名2", &f.G2},        {"品名3", &f.G3}};
    for (const auto& [caption, text] : shown)
        for (const std::string& ch : Unencodable(*text))
            note(std::string(caption) + "の「" + ch +
                 "」はShift_JISにない文字のため、印刷では「?」になります");

    o.deliveryDate = value(C::DeliveryDate);
    o.deliveryTime = value(C::DeliveryTime);
    o.sender = {value(C::SenderZip), value(C::SenderAddress1), value(C::SenderAddress2), value(C::SenderName),
                value(C::SenderTel)};
}

} // namespace

std::vector<Order> BuildOrders(const OrderTable& t, const ColumnMapping& m) {
    if (auto missing = MissingColumns(m); !missing.empty()) {
        std::string list;
        for (C c : missing)
            list += (list.empty() ? "" : "、") + std::string(Caption(c));
        throw OrderFileError(t.path, "の列を対応付けてください（" + list + "）");
    }
    std::vector<Draft> drafts;
    std::unordered_map<std::string, std::size_t> byRef;
    std::size_t previous = 0;
    for (std::size_t i = 0; i < t.rows.size(); ++i) {
        const std::size_t row = t.rows[i].number;
        const std::vector<std::string> cells = RowCells(t, i);
        std::vector<std::string> notes;
        std::array<std::string, kOrderColumnCount> v;
        for (std::size_t k = 0; k < kOrderColumnCount; ++k)
            v[k] = CellValue(t, cells, m.columns[k], row, notes);
        auto value = [&](C c) -> const std::string& { return v[static_cast<std::size_t>(c)]; };

        const std::string& ref = value(C::OrderNo);
        bool ownAddress = false;
        for (C c : {C::Zip, C::Prefecture, C::Address1, C::Address2, C::Address3, C::Name})
            ownAddress = ownAddress || !value(c).empty();
        std::size_t target;
        if (ref.empty() && m[C::OrderNo] != kNoColumn && !drafts.empty() && !ownAddress) {
            target = previous; // an item row under its order
        } else if (auto it = ref.empty() ? byRef.end() : byRef.find(ref); it != byRef.end()) {
            target = it->second;
        } else {
            target = drafts.size();
            drafts.emplace_back();
            if (!ref.empty())
                byRef.emplace(ref, target);
            else if (m[C::OrderNo] != kNoColumn)
                notes.push_back(RowPrefix(row) + "に注文番号がありません");
        }
        Draft& d = drafts[target];
        d.order.rows.push_back(row);
        for (std::size_t k = 0; k < kOrderColumnCount; ++k) {
            if (v[k].empty()) continue;
            if (d.values[k].empty()) {
                d.values[k] = v[k];
            } else if (d.values[k] != v[k] && !d.conflictReported[k] &&
                       std::find(std::begin(kPersonColumns), std::end(kPersonColumns), static_cast<C>(k)) !=
                           std::end(kPersonColumns)) {
                d.conflictReported[k] = true;
                notes.push_back(RowPrefix(row) + "の" + std::string(Caption(static_cast<C>(k))) + "「" +
                                Excerpt(v[k]) + "」が最初の行と違います。最初の行の「" +
                                Excerpt(d.values[k]) + "」を使いました");
            }
        }
        for (C c : kItemColumns)
            if (!value(c).empty()) {
                d.itemNames.push_back(value(c));
                d.order.items.push_back({value(c), c == C::ItemName ? value(C::Quantity) : ""});
            }
        for (std::string& n : notes)
            d.order.warnings.push_back(std::move(n));
        previous = target;
    }
    std::vector<Order> orders;
    orders.reserve(drafts.size());
    for (Draft& d : drafts) {
        Clean(d);
        orders.push_back(std::move(d.order));
    }
    return orders;
}

OrderFields FieldsForSlip(const OrderFields& u) {
    OrderFields f = u;
    for (std::string* s : {&f.Zip, &f.Add1, &f.Add2, &f.Add3, &f.Custo1, &f.Tel, &f.G1, &f.G2, &f.G3})
        *s = cp932::FromUtf8(*s);
    return f;
}

std::vector<Order> ImportOrders(const std::string& path, const std::string& mappingIni) {
    OrderTable t = ReadOrderTable(path);
    ColumnMapping m = RecogniseColumns(t.header);
    if (!mappingIni.empty()) LoadMapping(mappingIni, t.header, m);
    return BuildOrders(t, m);
}

} // namespace orders
