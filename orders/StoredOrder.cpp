#include "orders/StoredOrder.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unordered_map>

namespace orders {
namespace {

// `v` with "%" and the control bytes as %XX; the runs between them copied whole.
void AppendEscaped(std::string& out, std::string_view v) {
    static const char kHex[] = "0123456789ABCDEF";
    std::size_t run = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const auto c = static_cast<unsigned char>(v[i]);
        if (c >= 0x20 && c != 0x7F && c != '%') continue;
        out.append(v, run, i - run);
        out += '%';
        out += kHex[c >> 4];
        out += kHex[c & 0xF];
        run = i + 1;
    }
    out.append(v, run);
}

int Hex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string Unescape(std::string_view v) {
    if (v.find('%') == std::string_view::npos) return std::string(v);
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

// NAME=values joined by tabs, each escaped (so none holds a tab of its own).
void Line(std::string& out, const char* name, std::initializer_list<std::string_view> values) {
    out += name;
    out += '=';
    bool first = true;
    for (std::string_view v : values) {
        if (!first) out += '\t';
        AppendEscaped(out, v);
        first = false;
    }
    out += '\n';
}

// The tab-separated parts of a value, still escaped; at most `N`, the last taking the rest.
template <std::size_t N>
std::array<std::string_view, N> Parts(std::string_view value) {
    std::array<std::string_view, N> parts{};
    for (std::size_t k = 0; k < N; ++k) {
        const std::size_t tab = k + 1 < N ? value.find('\t') : std::string_view::npos;
        parts[k] = value.substr(0, tab);
        if (tab == std::string_view::npos) break;
        value.remove_prefix(tab + 1);
    }
    return parts;
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
    std::string out;
    out.reserve(1024);
    Line(out, "platform", {PlatformName(o.platform)});
    Line(out, "order", {o.ref});
    for (const auto& [name, value] : o.refs)
        Line(out, "ref", {name, value});
    for (std::size_t row : o.rows)
        Line(out, "row", {std::to_string(row)});
    for (const slip::Field& f : slip::kFields)
        if (f.filledBy & slip::kOrder)
            Line(out, "field",
                 {f.name, f.text ? std::string_view(o.fields.*f.text) : (o.fields.*f.flag ? "1" : "0")});
    for (const OrderItem& item : o.items)
        Line(out, "item", {item.name, item.quantity});
    Line(out, "total", {o.total});
    Line(out, "payment", {o.payment});
    Line(out, "delivery", {o.delivery.date, o.delivery.time});
    const OrderSender& s = o.sender;
    Line(out, "sender", {s.zip, s.address1, s.address2, s.name, s.tel});
    for (const OrderWarning& w : o.warnings)
        Line(out, "warning", {w.severity == Severity::Problem ? "problem" : "note", w.text});
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
        const std::string_view name = line.substr(0, eq), value = line.substr(eq + 1);
        if (name == "field") {
            const auto [field, v] = Parts<2>(value);
            if (const slip::Field* f = slip::FindField(Unescape(field)); f && (f->filledBy & slip::kOrder)) {
                if (f->text)
                    o.fields.*f->text = Unescape(v);
                else
                    o.fields.*f->flag = v == "1";
            }
        } else if (name == "item") {
            const auto [item, quantity] = Parts<2>(value);
            o.items.push_back({Unescape(item), Unescape(quantity)});
        } else if (name == "warning") {
            const auto [severity, what] = Parts<2>(value);
            o.warnings.push_back(
                {severity == "problem" ? Severity::Problem : Severity::Note, Unescape(what)});
        } else if (name == "row") {
            o.rows.push_back(
                static_cast<std::size_t>(std::strtoull(std::string(value).c_str(), nullptr, 10)));
        } else if (name == "ref") {
            const auto [key, v] = Parts<2>(value);
            o.refs.emplace_back(Unescape(key), Unescape(v));
        } else if (name == "platform") {
            for (const PlatformFormat& f : PlatformFormats())
                if (PlatformName(f.platform) == value) o.platform = f.platform;
        } else if (name == "order") {
            o.ref = Unescape(value);
        } else if (name == "total") {
            o.total = Unescape(value);
        } else if (name == "payment") {
            o.payment = Unescape(value);
        } else if (name == "delivery") {
            const auto [date, time] = Parts<2>(value);
            o.delivery = {Unescape(date), Unescape(time)};
        } else if (name == "sender") {
            const auto p = Parts<5>(value);
            o.sender = {Unescape(p[0]), Unescape(p[1]), Unescape(p[2]), Unescape(p[3]), Unescape(p[4])};
        } else if (name == "held") {
            o.heldForCheck = value == "1";
        } else if (name == "amount") {
            o.needsAmount = value == "1";
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
