#include "history/PendingFile.h"

#include "platform/Conversions.h"
#include "platform/Cp932Codec.h"
#include "platform/FileIO.h"
#include "platform/RuntimeErrors.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <unistd.h>

namespace history {
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

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string Unescape(std::string_view v) {
    std::string out;
    for (std::size_t i = 0; i < v.size(); ++i) {
        int hi, lo;
        if (v[i] == '%' && i + 2 < v.size() && (hi = HexDigit(v[i + 1])) >= 0 &&
            (lo = HexDigit(v[i + 2])) >= 0) {
            out += static_cast<char>(hi * 16 + lo);
            i += 2;
        } else {
            out += v[i];
        }
    }
    return out;
}

// "a,b" as two integers; false for anything else.
bool Pair(const std::string& v, std::int32_t& a, std::int32_t& b) {
    const std::size_t comma = v.find(',');
    if (comma == std::string::npos) return false;
    const auto first = TryStrToInt(v.substr(0, comma)), second = TryStrToInt(v.substr(comma + 1));
    if (!first || !second) return false;
    a = *first;
    b = *second;
    return true;
}

// "0b7f3c1e-6a52-4d0e-9c1a-3f8e2d4b5a69": what NewUuid gives.
bool IsUuid(std::string_view s) {
    if (s.size() != 36) return false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? s[i] != '-' : HexDigit(s[i]) < 0) return false;
    }
    return true;
}

// One section as it is read: the record and the names it has given so far.
struct Section {
    HistoryRecord record;
    std::size_t named = 0; // of the lines every record has
    bool bad = false;
};

// The lines every record has: time, printer, resolution, margins and each field of the slip.
constexpr std::size_t kRequired = 4 + slip::kFieldCount;

void Assign(Section& s, const std::string& name, const std::string& value) {
    HistoryRecord& r = s.record;
    auto required = [&](bool ok) {
        ++s.named;
        s.bad = s.bad || !ok;
    };
    if (name == "time") {
        r.time = value;
        required(ParseTimestamp(value).has_value());
    } else if (name == "printer") {
        r.printer = value;
        required(true);
    } else if (name == "resolution") {
        required(Pair(value, r.resolutionX, r.resolutionY));
    } else if (name == "margins") {
        required(Pair(value, r.marginTop, r.marginLeft));
    } else if (name == "tracking") {
        r.tracking = value;
    } else if (name == "order") {
        r.order = value;
    } else if (name == "platform") {
        r.platform = value;
    } else if (name == "refs") {
        auto refs = RefsFromJson(cp932::ToUtf8(value));
        if (refs) r.refs = std::move(*refs);
        s.bad = s.bad || !refs;
    } else if (name == "delivery_day") {
        r.delivery.day = value;
    } else if (name == "delivery_time") {
        r.delivery.time = value;
    } else if (name == "changed") {
        r.changed = SplitFieldNames(value);
    } else if (name == "void") {
        r.isVoid = value == "1";
        s.bad = s.bad || (value != "0" && value != "1");
    } else if (name == "reprint_of" || name == "queue") {
        const bool number = !value.empty() && value.size() <= 18 &&
                            value.find_first_not_of("0123456789") == std::string::npos;
        if (number && name == "queue")
            r.queue.order = std::stoll(value);
        else if (number)
            r.reprintOf = std::stoll(value);
        s.bad = s.bad || !number;
    } else if (name == "desk") {
        r.queue.desk = value;
    } else if (const slip::Field* f = slip::FindField(name)) {
        if (f->text)
            r.values.*f->text = value;
        else
            r.values.*f->flag = value == "1";
        required(f->text || value == "0" || value == "1");
    }
}

} // namespace

std::string PendingFilePath(const std::string& dir) {
    return fileio::JoinPath(dir, kPendingFileName);
}

std::string FormatPending(const std::vector<HistoryRecord>& records) {
    std::string out;
    for (const HistoryRecord& r : records) {
        out += "[" + Escape(r.uuid) + "]\n";
        out += "time=" + Escape(r.time) + "\n";
        out += "printer=" + Escape(r.printer) + "\n";
        out += "resolution=" + std::to_string(r.resolutionX) + "," + std::to_string(r.resolutionY) + "\n";
        out += "margins=" + std::to_string(r.marginTop) + "," + std::to_string(r.marginLeft) + "\n";
        for (const slip::Field& f : slip::kFields)
            out += std::string(f.name) + "=" +
                   (f.text ? Escape(r.values.*f.text) : (r.values.*f.flag ? "1" : "0")) + "\n";
        if (!r.tracking.empty()) out += "tracking=" + Escape(r.tracking) + "\n";
        if (!r.order.empty()) out += "order=" + Escape(r.order) + "\n";
        if (!r.platform.empty()) out += "platform=" + Escape(r.platform) + "\n";
        if (!r.refs.empty()) out += "refs=" + Escape(cp932::FromUtf8(RefsToJson(r.refs))) + "\n";
        if (!r.delivery.day.empty()) out += "delivery_day=" + Escape(r.delivery.day) + "\n";
        if (!r.delivery.time.empty()) out += "delivery_time=" + Escape(r.delivery.time) + "\n";
        if (!r.changed.empty()) out += "changed=" + Escape(JoinFieldNames(r.changed)) + "\n";
        if (r.isVoid) out += "void=1\n";
        if (r.reprintOf) out += "reprint_of=" + std::to_string(*r.reprintOf) + "\n";
        if (r.queue.order != 0) out += "queue=" + std::to_string(r.queue.order) + "\n";
        if (!r.queue.desk.empty()) out += "desk=" + Escape(r.queue.desk) + "\n";
        out += "\n";
    }
    return out;
}

PendingContents ParsePending(std::string_view bytes) {
    PendingContents out;
    std::unique_ptr<Section> section; // not optional<>: GCC 12 takes its map for uninitialised
    auto close = [&] {
        if (!section) return;
        if (section->bad || section->named != kRequired || !IsUuid(section->record.uuid))
            ++out.unreadable;
        else
            out.records.push_back(std::move(section->record));
        section.reset();
    };
    bool stray = false; // a line outside any section
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t lf = bytes.find('\n', pos);
        std::string_view line =
            bytes.substr(pos, lf == std::string_view::npos ? std::string_view::npos : lf - pos);
        pos = lf == std::string_view::npos ? bytes.size() : lf + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            close();
            section = std::make_unique<Section>();
            section->record.uuid = Unescape(line.substr(1, line.size() - 2));
            continue;
        }
        if (line.empty()) continue;
        const std::size_t eq = line.find('=');
        if (!section || eq == std::string_view::npos) {
            if (section)
                section->bad = true;
            else
                stray = true;
            continue;
        }
        Assign(*section, std::string(line.substr(0, eq)), Unescape(line.substr(eq + 1)));
    }
    close();
    if (stray) ++out.unreadable;
    return out;
}

PendingContents ReadPending(const std::string& path) {
    auto bytes = fileio::ReadFileIfExists(path);
    return bytes ? ParsePending(*bytes) : PendingContents{};
}

void WritePending(const std::string& path, const std::vector<HistoryRecord>& records) {
    if (!records.empty()) return fileio::WriteFileAtomic(path, FormatPending(records));
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) throw EInOutError::FromErrno(errno, path);
}

std::string MovePendingAside(const std::string& path) {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &tm);
    std::string aside = path + ".unreadable-" + stamp;
    for (int n = 2; ::access(aside.c_str(), F_OK) == 0; ++n)
        aside = path + ".unreadable-" + stamp + "-" + std::to_string(n);
    if (::rename(path.c_str(), aside.c_str()) != 0) throw EInOutError::FromErrno(errno, path);
    return aside;
}

} // namespace history
