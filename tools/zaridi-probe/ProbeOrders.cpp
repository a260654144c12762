// orders import: the orders of a shop's order file as the queue would show them, as JSON. The shared
// queue's commands (load, claim, done, status) are in ProbeOrderQueue.cpp.
#include "Probe.h"

#include "orders/Orders.h"
#include "platform/Cp932Codec.h"
#include "slip/SlipRecord.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>

namespace probe {
namespace {} // namespace

// A JSON string as nlohmann's dump writes it: UTF-8 as it stands, quotes, backslashes and control
// characters escaped.
void AppendJsonString(std::string& out, std::string_view s) {
    out += '"';
    const auto plain = [](char ch) {
        return static_cast<unsigned char>(ch) >= 0x20 && ch != '"' && ch != '\\';
    };
    for (std::size_t i = 0; i < s.size(); ++i) {
        const std::size_t run = i;
        while (i < s.size() && plain(s[i]))
            ++i;
        out.append(s, run, i - run); // most of a text needs no escape
        if (i >= s.size()) break;
        const char ch = s[i];
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += ch;
            }
        }
    }
    out += '"';
}

namespace {

// The fields an order fills, by the slip record's table, in the keys' byte order.
const std::vector<const slip::Field*>& OrderFields() {
    static const std::vector<const slip::Field*> fields = [] {
        std::vector<const slip::Field*> f;
        for (const slip::Field& field : slip::kFields)
            if (field.filledBy & slip::kOrder) f.push_back(&field);
        std::sort(f.begin(), f.end(), [](const slip::Field* a, const slip::Field* b) {
            return std::string_view(a->name) < b->name;
        });
        return f;
    }();
    return fields;
}

} // namespace

void AppendOrderJson(std::string& out, const orders::Order& o, std::optional<std::int64_t> id) {
    const std::vector<const slip::Field*>& fields = OrderFields();
    out += "{\"fields\":{";
    for (std::size_t k = 0; k < fields.size(); ++k) {
        out += k ? ",\"" : "\"";
        out += fields[k]->name;
        out += "\":";
        if (fields[k]->text)
            AppendJsonString(out, o.fields.*fields[k]->text);
        else
            out += o.fields.*fields[k]->flag ? "true" : "false";
    }
    out += "},";
    if (id) out += "\"id\":" + std::to_string(*id) + ",";
    out += "\"order\":";
    AppendJsonString(out, o.ref);
    out += ",\"platform\":";
    AppendJsonString(out, orders::PlatformName(o.platform));
    out += ",\"refs\":{";
    std::vector<std::pair<std::string, std::string>> refs = o.refs;
    std::sort(refs.begin(), refs.end());
    for (std::size_t r = 0; r < refs.size(); ++r) {
        if (r) out += ',';
        AppendJsonString(out, refs[r].first);
        out += ':';
        AppendJsonString(out, refs[r].second);
    }
    out += "},\"warnings\":[";
    for (std::size_t w = 0; w < o.warnings.size(); ++w) {
        if (w) out += ',';
        AppendJsonString(out, o.warnings[w].text);
    }
    out += "]}";
}

int Orders(const Args& a) {
    if (!a.empty() && a[0] != "import") return OrderQueue(a);
    const char* usage = "orders import FILE [--mapping INI]";
    if (a.size() != 2 && a.size() != 4) throw UsageError{usage};
    if (a[0] != "import" || (a.size() == 4 && a[2] != "--mapping")) throw UsageError{usage};
    using nlohmann::json;
    std::vector<orders::Order> list;
    try {
        orders::ImportOptions options;
        options.mappingIni = a.size() == 4 ? a[3] : "";
        list = orders::ImportOrders(a[1], options).orders;
    } catch (const orders::EOrderFile& e) {
        std::cout << json{{"error", cp932::ToUtf8(e.Message())}}.dump() << "\n";
        return 1;
    }
    // Written one order at a time, by hand in nlohmann's own compact form (keys in byte order), so
    // that a large file never stands in memory a second time as a JSON tree.
    std::string out = "[";
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i) out += ',';
        AppendOrderJson(out, list[i]);
        if (out.size() > (1u << 20)) {
            std::cout << out;
            out.clear();
        }
    }
    std::cout << out << "]\n";
    return 0;
}

} // namespace probe
