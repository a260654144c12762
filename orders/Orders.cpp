#include "orders/Orders.h"

#include "orders/OrderCleaning.h"
#include "orders/OrderText.h"
#include "platform/Cp932Codec.h"
#include "platform/RuntimeErrors.h"

#include <algorithm>
#include <deque>
#include <optional>
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

std::string Quote(std::string_view s) {
    return "「" + Excerpt(s) + "」";
}

using Values = std::array<std::string, kOrderColumnCount>;

// A shipment while its rows are gathered: the file's values, not yet cleaned. Kept small, as a large
// file has tens of thousands of them at once.
struct Draft {
    std::vector<std::size_t> rows;
    std::vector<OrderItem> items;
    std::vector<std::pair<std::string, std::string>> refs;
    std::vector<OrderWarning> warnings;
    bool heldForCheck = false;
    Values values;
    std::array<bool, kOrderColumnCount> conflictReported{};
    std::string consignee;                   // the name (or shipping-address ID) that tells shipments apart
    std::vector<std::string> moneyLookalike; // per payment-like column no kind uses: its first value
};

// A cell's value, trimmed, its line breaks made blanks. A formula is never evaluated: ="..." (the usual way
// to keep leading zeros in a spreadsheet) gives the text inside, anything else after "=" is kept as it
// stands; both are problems named with the row and column.
std::string CellValue(const OrderTable& t, const std::vector<std::string>& cells, int column, std::size_t row,
                      std::vector<OrderWarning>& warnings) {
    if (column < 0 || static_cast<std::size_t>(column) >= cells.size()) return "";
    std::string v = TrimBlanks(cells[static_cast<std::size_t>(column)]);
    auto cell = [&] { return RowPrefix(row) + Quote(t.header[static_cast<std::size_t>(column)]); };
    if (v.find_first_of("\r\n") != std::string::npos) { // a field holds one line
        std::string joined;
        for (std::size_t i = 0; i < v.size(); ++i) {
            if (v[i] == '\r' && i + 1 < v.size() && v[i + 1] == '\n') continue;
            joined += v[i] == '\r' || v[i] == '\n' ? ' ' : v[i];
        }
        v = joined;
        warnings.push_back({Severity::Note, cell() + "の改行を空白にしました"});
    }
    if (!v.starts_with('=')) return v;
    std::string where = cell() + "の" + Quote(v);
    if (v.size() >= 3 && v[1] == '"' && v.back() == '"' && v.find('"', 2) == v.size() - 1) {
        std::string inner = v.substr(2, v.size() - 3);
        warnings.push_back(
            {Severity::Problem, where + "は数式として計算せず、文字" + Quote(inner) + "として読みました"});
        return inner;
    }
    warnings.push_back({Severity::Problem, where + "は数式として計算せず、文字のまま使いました"});
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

void Note(Order& o, Severity s, std::string text) {
    if (!text.empty()) o.warnings.push_back({s, std::move(text)});
}

void CleanDelivery(const Draft& d, Order& o) {
    const auto& v = d.values;
    bool readable = true;
    o.delivery.date = DeliveryDate(v[static_cast<std::size_t>(C::DeliveryDate)], readable);
    if (!readable)
        Note(o, Severity::Note, "お届け希望日" + Quote(o.delivery.date) + "を日付として読めません");
    o.delivery.time = DeliveryTime(v[static_cast<std::size_t>(C::DeliveryTime)]);
    const std::string& notes = v[static_cast<std::size_t>(C::Notes)];
    if (!o.delivery.Empty() || notes.empty()) return;
    o.delivery = DeliveryFromNote(notes);
    if (!o.delivery.Empty())
        Note(o, Severity::Note,
             "備考" + Quote(notes) + "からお届け指定「" + DeliveryShort(o.delivery) + "」を読みました");
}

void CleanCashOnDelivery(const Draft& d, Order& o, const OrderTable& t,
                         const std::vector<int>& paymentLookalikes) {
    slip::Record& f = o.fields;
    o.total = d.values[static_cast<std::size_t>(C::Total)];
    o.payment = d.values[static_cast<std::size_t>(C::Payment)];
    if (IsCashOnDelivery(o.payment)) {
        Cleaned amount = CashOnDeliveryAmount(o.total);
        f.KyNumEdit_PriceSub = amount.text;
        f.CheckBox_p1 = true;
        Note(o, amount.severity, amount.warning);
        if (f.KyNumEdit_PriceSub == "0") {
            if (amount.warning.empty()) Note(o, Severity::Problem, "代引ですが代引金額が0円です");
            o.needsAmount = o.heldForCheck = true;
        }
        return;
    }
    // A payment column no rule recognised and the user left unassigned: an order it calls cash on
    // delivery must not go out without its amount.
    for (std::size_t k = 0; k < paymentLookalikes.size(); ++k) {
        const std::string& value = d.moneyLookalike[k];
        if (!IsCashOnDelivery(value)) continue;
        Note(o, Severity::Problem,
             Quote(t.header[static_cast<std::size_t>(paymentLookalikes[k])]) + "が" + Quote(value) +
                 "ですが、支払方法の列が割り当てられていないため代引金額が入っていません");
        o.needsAmount = o.heldForCheck = true;
        return;
    }
}

Order Clean(Draft& d, const OrderTable& t, const std::vector<int>& paymentLookalikes) {
    const auto& v = d.values;
    auto value = [&](C c) -> const std::string& { return v[static_cast<std::size_t>(c)]; };
    Order o;
    o.rows = std::move(d.rows);
    o.items = std::move(d.items);
    o.refs = std::move(d.refs);
    o.warnings = std::move(d.warnings);
    o.heldForCheck = d.heldForCheck;
    slip::Record& f = o.fields;

    o.ref = value(C::OrderNo);
    Cleaned zip = CleanPostcode(JoinNonEmpty({value(C::Zip), value(C::Zip2)}, "-"));
    f.Edit_Zip = zip.text;
    Note(o, zip.severity, zip.warning);

    AddressLines a =
        LayoutAddress(value(C::Prefecture), {value(C::Address1), value(C::Address2), value(C::Address3)},
                      value(C::Building), value(C::Company));
    f.Edit_Add1 = a.add1, f.Edit_Add2 = a.add2, f.Edit_Add3 = a.add3;
    if (f.Edit_Add1.empty()) Note(o, Severity::Problem, "住所がありません");
    for (OrderWarning& w : a.warnings)
        o.warnings.push_back(std::move(w));

    f.Edit_Custo1 = JoinNonEmpty({value(C::Name), value(C::Name2)}, "\xE3\x80\x80"); // ideographic space
    if (f.Edit_Custo1.empty()) Note(o, Severity::Problem, "お名前がありません");

    Cleaned tel = CleanPhone(JoinNonEmpty({value(C::Tel), value(C::Tel2), value(C::Tel3)}, "-"));
    f.Edit_tel = tel.text;
    Note(o, tel.severity, tel.warning);

    std::vector<std::string> names;
    for (const OrderItem& item : o.items)
        names.push_back(item.name);
    GoodsLines g = LayoutGoods(names);
    f.Edit_G1 = g.g1, f.Edit_G2 = g.g2, f.Edit_G3 = g.g3;
    for (OrderWarning& w : g.warnings)
        o.warnings.push_back(std::move(w));

    CleanCashOnDelivery(d, o, t, paymentLookalikes);

    for (const slip::Field& field : slip::kFields) {
        if (!(field.filledBy & slip::kOrder) || field.kind != slip::Kind::Text) continue;
        for (const std::string& ch : Unencodable(f.*field.text))
            Note(o, Severity::Problem,
                 std::string(field.caption) + "の「" + ch +
                     "」はShift_JISにない文字のため、印刷では「?」になります");
    }

    CleanDelivery(d, o);
    o.sender = {value(C::SenderZip), value(C::SenderAddress1), value(C::SenderAddress2), value(C::SenderName),
                value(C::SenderTel)};
    return o;
}

// Adds `value` to the IDs kept under `name`, once.
void KeepRef(std::vector<std::pair<std::string, std::string>>& refs, const std::string& name,
             const std::string& value) {
    if (value.empty()) return;
    auto it = std::find_if(refs.begin(), refs.end(), [&](const auto& r) { return r.first == name; });
    if (it == refs.end()) {
        refs.emplace_back(name, value);
        return;
    }
    std::string_view have = it->second;
    for (std::size_t at = 0; at <= have.size();) {
        std::size_t end = std::min(have.find(',', at), have.size());
        if (have.substr(at, end - at) == value) return;
        at = end + 1;
    }
    it->second += "," + value;
}

class Builder {
public:
    Builder(const OrderTable& t, const ColumnMapping& m) : t_(t), m_(m) {
        paymentLookalikes_ =
            m[C::Payment] == kNoColumn ? MoneyLookalikes(m, t.header).first : std::vector<int>{};
    }

    void Add(std::size_t index) {
        const std::size_t row = t_.rows[index].number;
        const std::vector<std::string> cells = RowCells(t_, index);
        std::vector<OrderWarning> notes;
        Values v;
        for (std::size_t k = 0; k < kOrderColumnCount; ++k)
            v[k] = CellValue(t_, cells, m_.columns[k], row, notes);
        auto value = [&](C c) -> const std::string& { return v[static_cast<std::size_t>(c)]; };
        auto raw = [&](int column) {
            return column >= 0 && static_cast<std::size_t>(column) < cells.size()
                       ? TrimBlanks(cells[static_cast<std::size_t>(column)])
                       : std::string();
        };

        const std::string& ref = value(C::OrderNo);
        const std::string consignee = m_.destination != kNoColumn
                                          ? raw(m_.destination)
                                          : JoinNonEmpty({value(C::Name), value(C::Name2)}, " ");
        bool ownAddress = false;
        for (C c : {C::Zip, C::Prefecture, C::Address1, C::Address2, C::Address3, C::Name})
            ownAddress = ownAddress || !value(c).empty();

        std::size_t target;
        if (ref.empty() && m_[C::OrderNo] != kNoColumn && !drafts_.empty() && !ownAddress) {
            target = previous_; // an item row under its order
        } else if (auto found = ref.empty() ? std::nullopt : Shipment(ref, consignee)) {
            target = *found;
        } else {
            target = drafts_.size();
            drafts_.emplace_back();
            drafts_.back().consignee = consignee;
            drafts_.back().moneyLookalike.resize(paymentLookalikes_.size());
            if (!ref.empty())
                byRef_[ref].drafts.push_back(target);
            else if (m_[C::OrderNo] != kNoColumn)
                notes.push_back({Severity::Note, RowPrefix(row) + "に注文番号がありません"});
        }
        Draft& d = drafts_[target];
        if (d.consignee.empty()) d.consignee = consignee;
        if (!ref.empty()) byRef_[ref].last = target;
        d.rows.push_back(row);
        rowDraft_.push_back(target);
        for (C c : kItemColumns)
            if (!value(c).empty()) d.items.push_back({value(c), c == C::ItemName ? value(C::Quantity) : ""});
        for (std::size_t k = 0; k < kOrderColumnCount; ++k) {
            if (v[k].empty()) continue;
            if (d.values[k].empty()) {
                d.values[k] = std::move(v[k]);
            } else if (d.values[k] != v[k] && !d.conflictReported[k] &&
                       std::find(std::begin(kPersonColumns), std::end(kPersonColumns), static_cast<C>(k)) !=
                           std::end(kPersonColumns)) {
                d.conflictReported[k] = true;
                d.heldForCheck = true;
                notes.push_back({Severity::Problem, RowPrefix(row) + "の" +
                                                        std::string(Caption(static_cast<C>(k))) +
                                                        Quote(v[k]) + "が最初の行と違います。最初の行の" +
                                                        Quote(d.values[k]) + "を使いました"});
            }
        }
        for (const auto& [name, column] : m_.refs)
            KeepRef(d.refs, name, raw(column));
        for (std::size_t k = 0; k < paymentLookalikes_.size(); ++k)
            if (d.moneyLookalike[k].empty()) d.moneyLookalike[k] = raw(paymentLookalikes_[k]);
        for (OrderWarning& n : notes)
            d.warnings.push_back(std::move(n));
        previous_ = target;
    }

    std::vector<Order> Finish() {
        NoteRepeatedHeaders();
        NoteShipments();
        std::vector<Order> orders;
        orders.reserve(drafts_.size());
        for (Draft& d : drafts_) {
            orders.push_back(Clean(d, t_, paymentLookalikes_));
            orders.back().platform = m_.platform;
            d = Draft(); // a large file's drafts need not outlive their orders
        }
        drafts_.clear();
        return orders;
    }

private:
    // The shipment of this reference that the row belongs to: the one with the same consignee, or, for
    // a row that names none, the one the reference's last row went to. nullopt: a new shipment.
    std::optional<std::size_t> Shipment(const std::string& ref, const std::string& consignee) const {
        auto it = byRef_.find(ref);
        if (it == byRef_.end()) return std::nullopt;
        if (consignee.empty()) return it->second.last;
        for (std::size_t d : it->second.drafts)
            if (drafts_[d].consignee == consignee || drafts_[d].consignee.empty()) return d;
        return std::nullopt;
    }

    // A row repeating the header (two exports joined) is noted on the order of the next data row.
    void NoteRepeatedHeaders() {
        for (std::size_t header : t_.repeatedHeader) {
            auto next =
                std::upper_bound(t_.rows.begin(), t_.rows.end(), header,
                                 [](std::size_t r, const OrderTable::Row& row) { return r < row.number; });
            std::size_t index = next == t_.rows.end() ? t_.rows.size() - 1 : next - t_.rows.begin();
            if (index >= rowDraft_.size()) continue;
            drafts_[rowDraft_[index]].warnings.push_back(
                {Severity::Note, RowPrefix(header) + "は見出しと同じ行のため読み飛ばしました"});
        }
    }

    // Shipments of one reference are told apart on screen. Where the platform gives each shipping
    // address an ID this is how the shop meant it; elsewhere it may be two exports joined, so it is
    // asked about before printing unattended.
    void NoteShipments() {
        const Severity s = m_.destination != kNoColumn ? Severity::Note : Severity::Problem;
        for (const auto& [ref, shipments] : byRef_) {
            const std::vector<std::size_t>& list = shipments.drafts;
            if (list.size() < 2) continue;
            for (std::size_t k = 0; k < list.size(); ++k)
                drafts_[list[k]].warnings.push_back({s, "注文" + Quote(ref) + "には届け先が" +
                                                            std::to_string(list.size()) + "件あり、その" +
                                                            std::to_string(k + 1) + "件目です"});
        }
    }

    const OrderTable& t_;
    const ColumnMapping& m_;
    std::vector<int> paymentLookalikes_;
    std::deque<Draft> drafts_; // a deque: drafts are large, and never moved as the file grows
    struct Shipments {
        std::vector<std::size_t> drafts; // in the order of their first rows
        std::size_t last = 0;            // the draft the reference's latest row went to
    };
    std::unordered_map<std::string, Shipments> byRef_;
    std::vector<std::size_t> rowDraft_; // per data row, its draft
    std::size_t previous_ = 0;
};

} // namespace

bool Order::HasProblem() const {
    return std::any_of(warnings.begin(), warnings.end(),
                       [](const OrderWarning& w) { return w.severity == Severity::Problem; });
}

std::vector<OrderColumn> MappingQuestion::Required() const {
    std::vector<OrderColumn> required;
    for (OrderColumn c : ask)
        if (OrderColumnInfos()[static_cast<std::size_t>(c)].required) required.push_back(c);
    return required;
}

std::vector<Order> BuildOrders(const OrderTable& t, const ColumnMapping& m, const ImportProgress& progress) {
    if (auto missing = MissingColumns(m); !missing.empty()) {
        std::string list;
        for (C c : missing)
            list += (list.empty() ? "" : "、") + std::string(Caption(c));
        throw OrderFileError(t.path, "の列を対応付けてください（" + list + "）");
    }
    Builder b(t, m);
    constexpr std::size_t kProgressStep = 4096;
    for (std::size_t i = 0; i < t.rows.size(); ++i) {
        if (progress && i % kProgressStep == 0 && !progress(i, t.rows.size())) throw ImportCancelled();
        b.Add(i);
    }
    std::vector<Order> orders = b.Finish();
    if (progress && !progress(t.rows.size(), t.rows.size())) throw ImportCancelled();
    return orders;
}

slip::Record EmptyOrderFields() {
    slip::Record r;
    r.KyNumEdit_KOSUU = "1";
    r.KyNumEdit_PriceSub = "0";
    return r;
}

slip::Record FieldsForSlip(const slip::Record& u) {
    slip::Record f = u;
    for (const slip::Field& field : slip::kFields)
        if ((field.filledBy & slip::kOrder) && field.text) f.*field.text = cp932::FromUtf8(u.*field.text);
    return f;
}

ImportResult ImportOrders(const std::string& path, const ImportOptions& options) {
    ImportResult result;
    OrderTable t = ReadOrderTable(path);
    ColumnMapping m = RecogniseColumns(t.header);
    result.platform = m.platform;
    const bool saved = !options.mappingIni.empty() && LoadMapping(options.mappingIni, t.header, m);
    if (options.ask) {
        MappingQuestion q{t, m, MissingColumns(m)};
        // An answer saved for this header covers payment and total too, "none" included.
        if (!saved)
            for (OrderColumn c : UnsureColumns(m, t.header))
                q.ask.push_back(c);
        if (!q.ask.empty()) {
            if (!options.ask(q)) {
                result.cancelled = true;
                return result;
            }
            m = q.mapping;
            if (!options.mappingIni.empty()) {
                try {
                    SaveMapping(options.mappingIni, t.header, m);
                } catch (const EInOutError& e) {
                    result.mappingNotSaved = e.Message(); // the next import asks again
                }
            }
        }
    }
    try {
        result.orders = BuildOrders(t, m, options.progress);
    } catch (const ImportCancelled&) {
        result.cancelled = true;
    }
    return result;
}

} // namespace orders
