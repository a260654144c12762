#include "history/HistoryRecord.h"

#include "platform/Cp932Codec.h"

#include <cstdio>
#include <nlohmann/json.hpp>
#include <random>
#include <unistd.h>

namespace history {

std::string RefsToJson(const Refs& refs) {
    if (refs.empty()) return {};
    nlohmann::ordered_json j = nlohmann::ordered_json::object();
    for (const auto& [name, value] : refs)
        j[cp932::ToUtf8(name)] = cp932::ToUtf8(value);
    return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::optional<Refs> RefsFromJson(std::string_view utf8) {
    Refs refs;
    if (utf8.empty()) return refs;
    const nlohmann::json j = nlohmann::json::parse(utf8, nullptr, false);
    if (!j.is_object()) return std::nullopt;
    for (const auto& [name, value] : j.items()) {
        if (!value.is_string()) return std::nullopt;
        refs[cp932::FromUtf8(name)] = cp932::FromUtf8(value.get<std::string>());
    }
    return refs;
}

std::string JoinFieldNames(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& n : names)
        out += (out.empty() ? "" : ",") + n;
    return out;
}

std::vector<std::string> SplitFieldNames(std::string_view joined) {
    std::vector<std::string> names;
    while (!joined.empty()) {
        const std::size_t comma = joined.find(',');
        if (comma != 0) names.emplace_back(joined.substr(0, comma));
        joined.remove_prefix(comma == std::string_view::npos ? joined.size() : comma + 1);
    }
    return names;
}

std::string NewUuid() {
    // Seeded afresh in a forked process, which would otherwise go on with its parent's numbers.
    static thread_local pid_t seededIn = 0;
    static thread_local std::mt19937_64 gen;
    if (seededIn != ::getpid()) {
        std::random_device rd;
        std::seed_seq seq{rd(), rd(), rd(), rd(), rd(), rd(), rd(), rd()};
        gen.seed(seq);
        seededIn = ::getpid();
    }
    std::uint64_t hi = gen(), lo = gen();
    hi = (hi & ~0xF000ULL) | 0x4000ULL;                 // version 4
    lo = (lo & ~(0xC000ULL << 48)) | (0x8000ULL << 48); // RFC 4122 variant
    char buf[37];
    std::snprintf(
        buf, sizeof buf, "%08llx-%04llx-%04llx-%04llx-%012llx", static_cast<unsigned long long>(hi >> 32),
        static_cast<unsigned long long>((hi >> 16) & 0xFFFF), static_cast<unsigned long long>(hi & 0xFFFF),
        static_cast<unsigned long long>(lo >> 48), static_cast<unsigned long long>(lo & 0xFFFFFFFFFFFFULL));
    return buf;
}

std::string LocalTimestamp(std::time_t t) {
    std::tm tm{};
    ::localtime_r(&t, &tm);
    int off = static_cast<int>(tm.tm_gmtoff / 60) % (24 * 60);
    char sign = off < 0 ? '-' : '+';
    if (off < 0) off = -off;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, sign, off / 60, off % 60);
    return buf;
}

namespace {

// Digits at `pos`..`pos+n` as a number, or -1 when any is not a digit.
int Number(std::string_view s, std::size_t pos, std::size_t n) {
    int v = 0;
    for (std::size_t i = pos; i < pos + n; ++i) {
        if (s[i] < '0' || s[i] > '9') return -1;
        v = v * 10 + (s[i] - '0');
    }
    return v;
}

bool IsLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date.
std::int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

} // namespace

std::optional<std::string> NormalizeDay(std::string_view s) {
    if (s.size() != 10 || s[4] != s[7] || (s[4] != '/' && s[4] != '-')) return std::nullopt;
    int y = Number(s, 0, 4), m = Number(s, 5, 2), d = Number(s, 8, 2);
    if (y < 1 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m)) return std::nullopt;
    std::string out(s);
    out[4] = out[7] = '-';
    return out;
}

std::optional<ParsedTime> ParseTimestamp(std::string_view s) {
    // yyyy-MM-ddTHH:mm:ss+hh:mm (or Z for UTC)
    if (s.size() != 25 && !(s.size() == 20 && s[19] == 'Z')) return std::nullopt;
    auto day = NormalizeDay(s.substr(0, 10));
    if (!day || (*day)[4] != s[4] || s[10] != 'T' || s[13] != ':' || s[16] != ':') return std::nullopt;
    int hh = Number(s, 11, 2), mm = Number(s, 14, 2), ss = Number(s, 17, 2);
    if (hh < 0 || hh > 23 || mm < 0 || mm > 59 || ss < 0 || ss > 60) return std::nullopt;
    int offset = 0;
    if (s.size() == 25) {
        int oh = Number(s, 20, 2), om = Number(s, 23, 2);
        if ((s[19] != '+' && s[19] != '-') || s[22] != ':' || oh < 0 || oh > 23 || om < 0 || om > 59)
            return std::nullopt;
        offset = (oh * 60 + om) * 60 * (s[19] == '-' ? -1 : 1);
    }
    std::int64_t days = DaysFromCivil(Number(s, 0, 4), Number(s, 5, 2), Number(s, 8, 2));
    return ParsedTime{days * 86400 + hh * 3600 + mm * 60 + ss - offset, *day};
}

std::string ShipDay(const HistoryRecord& r, const std::string& printedDay) {
    if (r.values.CheckBox_Date_1) {
        if (auto day = NormalizeDay(r.values.DateTimePicker_1)) return *day;
    }
    return printedDay;
}

std::string DigitsOf(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c >= '0' && c <= '9') out += c;
    return out;
}

} // namespace history
