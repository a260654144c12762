#include "orders/StoredOrder.h"

#include <cstdint>
#include <cstdio>
#include <unordered_map>

namespace orders {
namespace {

std::string Escape(std::string_view v) {
    std::string out;
    for (unsigned char c : v) {
        if (c < 0x20 || c == 0x7F || c == '%') {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

int Hex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string Unescape(std::string_view v) {
    std::string out;
    for (std::size_t i = 0; i < v.size(); ++i) {
        int hi, lo;
        if (v[i] == '%' && i + 2 < v.size() && (hi = Hex(v[i + 1])) >= 0 && (lo = Hex(v[i + 2])) >= 0) {
            out += static_cast<char>(hi * 16 + lo);
            i += 2;
        } else {
            out += v[i];
        }
    }
    return out;
}

// Values joined by tabs, each escaped (so none holds a tab of its own).
std::string Line(const char* name, std::initializer_list<std::string_view> values) {
    std::string line = name;
    line += '=';
    bool first = true;
    for (std::string_view v : values) {
        if (!first) line += '\t';
        line += Escape(v);
        first = false;
    }
    return line + "\n";
}

std::vector<std::string> Parts(std::string_view value) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = value.find('\t', start);
        parts.push_back(Unescape(value.substr(start, tab == std::string_view::npos ? tab : tab - start)));
        if (tab == std::string_view::npos) return parts;
        start = tab + 1;
    }
}

// What the order holds, for its hash: everything but where it stood in the file and what the import
// said about it.
std::string Content(const Order& o) {
    Order c = o;
    c.rows.clear();
    c.warnings.clear();
    return OrderToText(c);
}

std::uint64_t Fnv1a(std::string_view s) {
    std::uint64_t h = 1469598103934665603ULL;
    for (unsigned char c : s) {
        h ^= c;
        h *= 1099511628211ULL;
    }
    return h;
}

} // namespace

std::string OrderToText(const Order& o) {
    std::string out = Line("platform", {PlatformName(o.platform)}) + Line("order", {o.ref});
    for (const auto& [name, value] : o.refs)
        out += Line("ref", {name, value});
    for (std::size_t row : o.rows)
        out += Line("row", {std::to_string(row)});
    for (const slip::Field& f : slip::kFields)
        if (f.filledBy & slip::kOrder)
            out += Line("field", {f.name, f.text ? std::string_view(o.fields.*f.text)
                                                 : (o.fields.*f.flag ? "1" : "0")});
    for (const OrderItem& item : o.items)
        out += Line("item", {item.name, item.quantity});
    out += Line("total", {o.total}) + Line("payment", {o.payment});
    out += Line("delivery", {o.delivery.date, o.delivery.time});
    const OrderSender& s = o.sender;
    out += Line("sender", {s.zip, s.address1, s.address2, s.name, s.tel});
    for (const OrderWarning& w : o.warnings)
        out += Line("warning", {w.severity == Severity::Problem ? "problem" : "note", w.text});
    if (o.heldForCheck) out += "held=1\n";
    if (o.needsAmount) out += "amount=1\n";
    return out;
}

Order OrderFromText(std::string_view text) {
    Order o;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t lf = text.find('\n', pos);
        if (lf == std::string_view::npos) lf = text.size();
        const std::string_view line = text.substr(pos, lf - pos);
        pos = lf + 1;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string_view name = line.substr(0, eq);
        const std::vector<std::string> v = Parts(line.substr(eq + 1));
        auto at = [&](std::size_t i) { return i < v.size() ? v[i] : std::string(); };
        if (name == "platform") {
            for (const PlatformFormat& f : PlatformFormats())
                if (PlatformName(f.platform) == v[0]) o.platform = f.platform;
        } else if (name == "order") {
            o.ref = at(0);
        } else if (name == "ref") {
            o.refs.emplace_back(at(0), at(1));
        } else if (name == "row") {
            o.rows.push_back(static_cast<std::size_t>(std::strtoull(at(0).c_str(), nullptr, 10)));
        } else if (name == "field") {
            if (const slip::Field* f = slip::FindField(at(0)); f && (f->filledBy & slip::kOrder)) {
                if (f->text)
                    o.fields.*f->text = at(1);
                else
                    o.fields.*f->flag = at(1) == "1";
            }
        } else if (name == "item") {
            o.items.push_back({at(0), at(1)});
        } else if (name == "total") {
            o.total = at(0);
        } else if (name == "payment") {
            o.payment = at(0);
        } else if (name == "delivery") {
            o.delivery = {at(0), at(1)};
        } else if (name == "sender") {
            o.sender = {at(0), at(1), at(2), at(3), at(4)};
        } else if (name == "warning") {
            o.warnings.push_back({at(0) == "problem" ? Severity::Problem : Severity::Note, at(1)});
        } else if (name == "held") {
            o.heldForCheck = at(0) == "1";
        } else if (name == "amount") {
            o.needsAmount = at(0) == "1";
        }
    }
    return o;
}

std::vector<std::string> OrderKeys(const std::vector<Order>& orders) {
    std::unordered_map<std::string, int> seen; // key without its count -> how often so far
    std::vector<std::string> keys;
    keys.reserve(orders.size());
    for (const Order& o : orders) {
        std::string base = std::string(PlatformName(o.platform)) + "\t";
        if (o.ref.empty()) {
            char hash[24];
            std::snprintf(hash, sizeof hash, "#%016llx", static_cast<unsigned long long>(Fnv1a(Content(o))));
            base += hash;
        } else {
            base += o.ref;
        }
        keys.push_back(base + "\t" + std::to_string(++seen[base]));
    }
    return keys;
}

} // namespace orders
