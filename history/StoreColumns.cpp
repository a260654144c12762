#include "history/StoreColumns-private.h"

#include "platform/Cp932Codec.h"
#include "platform/RuntimeErrors.h"

#include <algorithm>
#include <functional>

namespace history::columns {
namespace {

using Value = std::optional<std::string>;

struct Column {
    std::string name;
    std::function<SqlParam(const HistoryRecord&, const Derived&)> write; // empty: not written (id)
    std::function<void(HistoryRecord&, const Value&)> read;              // empty: not read back
};

Column Text(const char* name, std::string HistoryRecord::*member) {
    return {name,
            [member](const HistoryRecord& r, const Derived&) -> SqlParam { return cp932::ToUtf8(r.*member); },
            [member](HistoryRecord& r, const Value& v) { r.*member = Cp(v); }};
}

Column Int(const char* name, std::int32_t HistoryRecord::*member) {
    return {name,
            [member](const HistoryRecord& r, const Derived&) -> SqlParam { return std::int64_t{r.*member}; },
            [member](HistoryRecord& r, const Value& v) { r.*member = static_cast<std::int32_t>(ToInt(v)); }};
}

Column Derivation(const char* name, std::function<SqlParam(const HistoryRecord&, const Derived&)> write) {
    return {name, std::move(write), {}};
}

const std::vector<Column>& Columns() {
    static const std::vector<Column> columns = [] {
        std::vector<Column> c = {
            {"id", {}, [](HistoryRecord& r, const Value& v) { r.id = ToInt(v); }},
            {"uuid", [](const HistoryRecord& r, const Derived&) -> SqlParam { return r.uuid; },
             [](HistoryRecord& r, const Value& v) { r.uuid = v.value_or(""); }},
            {"printed_at", [](const HistoryRecord& r, const Derived&) -> SqlParam { return r.time; },
             [](HistoryRecord& r, const Value& v) { r.time = v.value_or(""); }},
            Derivation("printed_utc",
                       [](const HistoryRecord&, const Derived& d) -> SqlParam { return d.utcSeconds; }),
            Derivation("printed_day",
                       [](const HistoryRecord&, const Derived& d) -> SqlParam { return d.localDay; }),
            Derivation("ship_day",
                       [](const HistoryRecord&, const Derived& d) -> SqlParam { return d.shipDay; }),
            Text("printer", &HistoryRecord::printer),
            Int("resolution_x", &HistoryRecord::resolutionX),
            Int("resolution_y", &HistoryRecord::resolutionY),
            Int("margin_top", &HistoryRecord::marginTop),
            Int("margin_left", &HistoryRecord::marginLeft),
        };
        for (const slip::Field& f : slip::kFields) {
            if (f.text)
                c.push_back({f.name,
                             [&f](const HistoryRecord& r, const Derived&) -> SqlParam {
                                 return cp932::ToUtf8(r.values.*f.text);
                             },
                             [&f](HistoryRecord& r, const Value& v) { r.values.*f.text = Cp(v); }});
            else
                c.push_back({f.name,
                             [&f](const HistoryRecord& r, const Derived&) -> SqlParam {
                                 return std::int64_t{r.values.*f.flag ? 1 : 0};
                             },
                             [&f](HistoryRecord& r, const Value& v) { r.values.*f.flag = ToInt(v) != 0; }});
        }
        c.push_back(Derivation("zip_digits", [](const HistoryRecord& r, const Derived&) -> SqlParam {
            return DigitsOf(r.values.Edit_Zip);
        }));
        c.push_back(Derivation("tel_digits", [](const HistoryRecord& r, const Derived&) -> SqlParam {
            return DigitsOf(r.values.Edit_tel);
        }));
        c.push_back({"tracking",
                     [](const HistoryRecord& r, const Derived&) { return TextOrNull(r.tracking); },
                     [](HistoryRecord& r, const Value& v) { r.tracking = Cp(v); }});
        c.push_back({"order_ref", [](const HistoryRecord& r, const Derived&) { return TextOrNull(r.order); },
                     [](HistoryRecord& r, const Value& v) { r.order = Cp(v); }});
        c.push_back({"platform",
                     [](const HistoryRecord& r, const Derived&) { return TextOrNull(r.platform); },
                     [](HistoryRecord& r, const Value& v) { r.platform = Cp(v); }});
        c.push_back({"refs",
                     [](const HistoryRecord& r, const Derived&) -> SqlParam {
                         std::string json = RefsToJson(r.refs);
                         if (json.empty()) return std::monostate{};
                         return json;
                     },
                     [](HistoryRecord& r, const Value& v) {
                         r.refs = RefsFromJson(v.value_or("")).value_or(Refs{});
                     }});
        c.push_back({"delivery_day",
                     [](const HistoryRecord& r, const Derived&) { return TextOrNull(r.delivery.day); },
                     [](HistoryRecord& r, const Value& v) { r.delivery.day = Cp(v); }});
        c.push_back({"delivery_time",
                     [](const HistoryRecord& r, const Derived&) { return TextOrNull(r.delivery.time); },
                     [](HistoryRecord& r, const Value& v) { r.delivery.time = Cp(v); }});
        c.push_back(
            {"changed_fields",
             [](const HistoryRecord& r, const Derived&) { return TextOrNull(JoinFieldNames(r.changed)); },
             [](HistoryRecord& r, const Value& v) { r.changed = SplitFieldNames(v.value_or("")); }});
        c.push_back(
            {"void",
             [](const HistoryRecord& r, const Derived&) -> SqlParam { return std::int64_t{r.isVoid}; },
             [](HistoryRecord& r, const Value& v) { r.isVoid = ToInt(v) != 0; }});
        c.push_back({"reprint_of", [](const HistoryRecord&, const Derived& d) { return d.reprintOf; },
                     [](HistoryRecord& r, const Value& v) {
                         if (v) r.reprintOf = ToInt(v);
                     }});
        return c;
    }();
    return columns;
}

// The names of the columns that `part` is set for, comma-separated.
template <class Part>
std::string Names(Part Column::*part) {
    std::string out;
    for (const Column& c : Columns())
        if (c.*part) out += (out.empty() ? "" : ", ") + c.name;
    return out;
}

} // namespace

std::string Cp(const std::optional<std::string>& v) {
    return v ? cp932::FromUtf8(*v) : std::string();
}

SqlParam TextOrNull(const std::string& cp) {
    if (cp.empty()) return std::monostate{};
    return cp932::ToUtf8(cp);
}

const std::string& SelectList() {
    static const std::string list = Names(&Column::read);
    return list;
}

const std::string& InsertStatement() {
    static const std::string sql = [] {
        std::string params;
        std::size_t n = 0;
        for (const Column& c : Columns())
            if (c.write) {
                params += n == 0 ? "$" : ", $";
                params += std::to_string(++n);
            }
        return "INSERT INTO slip_history (" + Names(&Column::write) + ") VALUES (" + params +
               ") ON CONFLICT (uuid) DO NOTHING RETURNING id";
    }();
    return sql;
}

std::vector<SqlParam> InsertParams(const HistoryRecord& record, const Derived& derived) {
    std::vector<SqlParam> params;
    for (const Column& c : Columns())
        if (c.write) params.push_back(c.write(record, derived));
    return params;
}

HistoryRecord ReadRow(const SqlRow& row) {
    static const auto readable = std::count_if(Columns().begin(), Columns().end(),
                                               [](const Column& c) { return static_cast<bool>(c.read); });
    if (static_cast<std::ptrdiff_t>(row.size()) != readable)
        throw EAssertionFailed("history: a row of " + std::to_string(row.size()) +
                               " values for the columns " + SelectList());
    HistoryRecord r;
    std::size_t i = 0;
    for (const Column& c : Columns())
        if (c.read) c.read(r, row[i++]);
    return r;
}

} // namespace history::columns
