#include "history/PendingFile.h"

#include "platform/Conversions.h"
#include "platform/FileIO.h"
#include "platform/RuntimeErrors.h"

#include <cerrno>
#include <cstdio>
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

// "a,b" as two integers; zeros for anything else.
void Pair(const std::string& v, std::int32_t& a, std::int32_t& b) {
    std::size_t comma = v.find(',');
    if (comma == std::string::npos) return;
    a = StrToIntOrZero(v.substr(0, comma));
    b = StrToIntOrZero(v.substr(comma + 1));
}

void Assign(HistoryRecord& r, const std::string& name, const std::string& value) {
    if (name == "time")
        r.time = value;
    else if (name == "printer")
        r.printer = value;
    else if (name == "resolution")
        Pair(value, r.resolutionX, r.resolutionY);
    else if (name == "margins")
        Pair(value, r.marginTop, r.marginLeft);
    else if (name == "order")
        r.order = value;
    else if (name == "reprint_of") {
        if (!value.empty() && value.size() <= 18 &&
            value.find_first_not_of("0123456789") == std::string::npos)
            r.reprintOf = std::stoll(value);
    } else {
        for (const slip::Field& f : slip::kFields) {
            if (name != f.name) continue;
            if (f.text)
                r.values.*f.text = value;
            else
                r.values.*f.flag = value == "1";
        }
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
        if (!r.order.empty()) out += "order=" + Escape(r.order) + "\n";
        if (r.reprintOf) out += "reprint_of=" + std::to_string(*r.reprintOf) + "\n";
        out += "\n";
    }
    return out;
}

std::vector<HistoryRecord> ParsePending(std::string_view bytes) {
    std::vector<HistoryRecord> records;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t lf = bytes.find('\n', pos);
        std::string_view line =
            bytes.substr(pos, lf == std::string_view::npos ? std::string_view::npos : lf - pos);
        pos = lf == std::string_view::npos ? bytes.size() : lf + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            records.emplace_back();
            records.back().uuid = Unescape(line.substr(1, line.size() - 2));
            continue;
        }
        std::size_t eq = line.find('=');
        if (records.empty() || eq == std::string_view::npos) continue;
        Assign(records.back(), std::string(line.substr(0, eq)), Unescape(line.substr(eq + 1)));
    }
    return records;
}

std::vector<HistoryRecord> ReadPending(const std::string& path) {
    auto bytes = fileio::ReadFileIfExists(path);
    return bytes ? ParsePending(*bytes) : std::vector<HistoryRecord>{};
}

void WritePending(const std::string& path, const std::vector<HistoryRecord>& records) {
    if (!records.empty()) return fileio::WriteFileAtomic(path, FormatPending(records));
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) throw EInOutError::FromErrno(errno, path);
}

} // namespace history
