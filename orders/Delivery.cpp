#include "orders/Delivery.h"

#include "orders/OrderText.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace orders {
namespace {

// Full-width ASCII folded, every dash and wave "-"; Japanese text stays.
std::string Folded(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        std::size_t begin = i;
        std::uint32_t cp = NextCodePoint(s, i);
        if (cp >= 0xFF01 && cp <= 0xFF5E) cp -= 0xFEE0;
        if ((cp >= 0x2010 && cp <= 0x2015) || cp == 0x2212 || cp == 0x301C || cp == 0xFF5E || cp == 0x30FC ||
            cp == '~')
            cp = '-';
        if (cp == 0x3000) cp = ' ';
        if (cp < 0x80)
            out += static_cast<char>(cp);
        else
            out.append(s.substr(begin, i - begin));
    }
    return TrimBlanks(out);
}

bool MeansNone(const std::string& f) {
    for (std::string_view w : {"指定なし", "指定無し", "設定なし", "希望なし", "なし", "無し", "未指定",
                               "指定しない", "指定不要", "不要", "-", "--", "0", "00"})
        if (f == w) return true;
    return f.starts_with("0000");
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

struct Number {
    int value;
    std::size_t digits, begin, end;
};

std::vector<Number> Numbers(std::string_view f) {
    std::vector<Number> out;
    for (std::size_t i = 0; i < f.size();) {
        if (!IsDigit(f[i])) {
            ++i;
            continue;
        }
        std::size_t b = i;
        long v = 0;
        while (i < f.size() && IsDigit(f[i])) {
            if (i - b < 9) v = v * 10 + (f[i] - '0');
            ++i;
        }
        out.push_back({static_cast<int>(v), i - b, b, i});
    }
    return out;
}

std::string Day(int year, int month, int day) {
    if (month < 1 || month > 12 || day < 1 || day > 31) return "";
    char buf[32];
    if (year > 0)
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", year, month, day);
    else
        std::snprintf(buf, sizeof buf, "%02d-%02d", month, day);
    return buf;
}

// The hour range "A-B時" for two hours of a day, or nullopt.
std::optional<std::string> Slot(int from, int to) {
    if (from < 0 || to > 24 || from >= to) return std::nullopt;
    return std::to_string(from) + "-" + std::to_string(to) + "時";
}

// A slot written as two hours: "14-16", "14:00-16:00", "14時-16時", "14時から16時".
std::optional<std::string> HourRange(std::string_view f) {
    std::vector<Number> n = Numbers(f);
    for (std::size_t k = 0; k + 1 < n.size(); ++k) {
        if (n[k].digits > 2) continue;
        std::size_t next = k + 1;
        // "14:00" - the minutes belong to the first hour.
        if (n[k].end < f.size() && f[n[k].end] == ':' && next < n.size() && n[next].begin == n[k].end + 1)
            ++next;
        if (next >= n.size() || n[next].digits > 2) continue;
        std::string_view between = f.substr(n[next - 1].end, n[next].begin - n[next - 1].end);
        if (between.starts_with("時")) between.remove_prefix(std::string_view("時").size());
        std::string b = TrimBlanks(between);
        if (b == "-" || b == "から") return Slot(n[k].value, n[next].value);
    }
    return std::nullopt;
}

bool HasAskingWord(std::string_view f) {
    for (std::string_view w : {"着", "希望", "指定", "届", "配達"})
        if (f.find(w) != std::string_view::npos) return true;
    return false;
}

} // namespace

std::string DeliveryDate(std::string_view text, bool& readable) {
    readable = true;
    const std::string f = Folded(text);
    if (f.empty() || MeansNone(f)) return "";
    std::vector<Number> n = Numbers(f);
    std::string day;
    if (!n.empty() && n[0].digits == 8)
        day = Day(n[0].value / 10000, n[0].value / 100 % 100, n[0].value % 100);
    else if (n.size() >= 3 && n[0].digits == 4)
        day = Day(n[0].value, n[1].value, n[2].value);
    else if (n.size() == 2 && n[0].digits <= 2 && n[1].digits <= 2)
        day = Day(0, n[0].value, n[1].value);
    if (day.empty()) {
        readable = false;
        return TrimBlanks(text);
    }
    return day;
}

std::string DeliveryTime(std::string_view text) {
    const std::string f = Folded(text);
    if (f.empty() || MeansNone(f)) return "";
    if (f.find("午前") != std::string::npos) return "午前中";
    if (f.size() == 4 && std::all_of(f.begin(), f.end(), IsDigit)) { // a carrier's slot code
        if (f == "0812") return "午前中";
        if (auto s = Slot(std::stoi(f.substr(0, 2)), std::stoi(f.substr(2)))) return *s;
    }
    if (auto s = HourRange(f)) return *s;
    return TrimBlanks(text);
}

Delivery DeliveryFromNote(std::string_view note) {
    Delivery d;
    const std::string f = Folded(note);
    if (!HasAskingWord(f)) return d;
    if (f.find("午前中") != std::string::npos)
        d.time = "午前中";
    else if (auto s = HourRange(f); s && f.find("時") != std::string::npos)
        d.time = *s;
    // "12月10日" or "12/10", the month and day side by side.
    std::vector<Number> n = Numbers(f);
    for (std::size_t k = 0; k + 1 < n.size(); ++k) {
        std::string_view sep = std::string_view(f).substr(n[k].end, n[k + 1].begin - n[k].end);
        bool kanji = sep == "月" && std::string_view(f).substr(n[k + 1].end).starts_with("日");
        if ((sep == "/" || kanji) && n[k].digits <= 2 && n[k + 1].digits <= 2) {
            d.date = Day(0, n[k].value, n[k + 1].value);
            if (!d.date.empty()) break;
        }
    }
    return d;
}

std::string DeliveryShort(const Delivery& d) {
    std::string day;
    if (!d.date.empty()) {
        // "2024-12-10" or "12-10" -> "12/10"; anything else as it stands.
        std::string_view md = d.date;
        if (md.size() == 10) md.remove_prefix(5);
        auto two = [&](std::size_t at) { return IsDigit(md[at]) && IsDigit(md[at + 1]); };
        if (md.size() == 5 && md[2] == '-' && two(0) && two(3))
            day = std::to_string((md[0] - '0') * 10 + (md[1] - '0')) + "/" +
                  std::to_string((md[3] - '0') * 10 + (md[4] - '0'));
        else
            day = d.date;
    }
    if (day.empty()) return d.time;
    if (d.time.empty()) return day;
    return day + " " + d.time;
}

std::string DeliveryText(const Delivery& d) {
    if (d.Empty()) return "";
    return "お届け日指定: " + DeliveryShort(d);
}

} // namespace orders
