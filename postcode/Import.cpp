#include "postcode/Import.h"

#include "platform/Cp932.h"
#include "platform/Cp932Codec.h"
#include "platform/FileIO.h"
#include "platform/HalfWidth.h"
#include "postcode/Index.h"
#include "postcode/IndexBuilder.h"
#include "postcode/ZipCsv.h"

#include <algorithm>
#include <ctime>
#include <sys/stat.h>

namespace postcode {

namespace {

// One official file's rows after the reading, before they go into the builder.
struct Source {
    std::string name; // CP932, for messages
    std::string bytes;
    std::time_t date = 0;
};

constexpr std::size_t kMaxUncompressed = 256u << 20; // far beyond any official file
constexpr std::size_t kKenAllColumns = 15;
constexpr std::size_t kJigyosyoColumns = 13;

EPostcodeImport Error(const std::string& name, const char* what) {
    return EPostcodeImport(name + ": " + cp932::FromUtf8(what));
}

EPostcodeImport LineError(const std::string& name, std::size_t line, const char* what) {
    return EPostcodeImport(name + ": " + std::to_string(line) + cp932::FromUtf8("行目: ") +
                           cp932::FromUtf8(what));
}

std::string DateText(std::time_t t) {
    if (t == 0) return {};
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[16];
    std::strftime(buf, sizeof buf, "%Y-%m-%d", &tm);
    return buf;
}

bool IsZip(const std::string& bytes) {
    return bytes.compare(0, 4, "PK\x03\x04") == 0 || bytes.compare(0, 4, "PK\x05\x06") == 0;
}

// The CSV files inside a ZIP, each with its own date.
std::vector<Source> Unzip(const std::string& name, const std::string& bytes) {
    ZipContents zip = ReadZippedCsv(bytes, kMaxUncompressed);
    using Status = ZipContents::Status;
    const std::string member = zip.failed.empty() ? name : name + ":" + cp932::FromUtf8(zip.failed);
    switch (zip.status) {
    case Status::Ok:
        break;
    case Status::Damaged:
        throw Error(member, "ZIPファイルが壊れています");
    case Status::TooBig:
        throw Error(member, "大きすぎます");
    case Status::NoReader:
        throw EPostcodeImport(name + cp932::FromUtf8(": ZIPファイルを読む部品を読み込めません: ") +
                              cp932::FromUtf8(zip.failed));
    }
    std::vector<Source> out;
    for (ZippedFile& file : zip.files)
        out.push_back({name + ":" + cp932::FromUtf8(file.name), std::move(file.bytes), file.date});
    if (out.empty()) throw Error(name, "ZIPファイルの中にCSVファイルがありません");
    return out;
}

// Strict UTF-8 with at least one non-ASCII character; Shift_JIS text practically never is.
bool LooksUtf8(std::string_view s) {
    bool wide = false;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t n = c < 0x80             ? 0
                        : (c & 0xE0) == 0xC0 ? 1
                        : (c & 0xF0) == 0xE0 ? 2
                        : (c & 0xF8) == 0xF0 ? 3
                                             : 9;
        if (n == 9 || (n == 1 && c < 0xC2) || (n > 0 && i + n >= s.size())) return false;
        for (std::size_t k = 1; k <= n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        wide = wide || n > 0;
        i += n + 1;
    }
    return wide;
}

// Quoted or plain fields, comma-separated, one record per line (CRLF or LF). A quote anywhere but
// around a whole field, or one left open, makes the record bad.
class CsvReader {
public:
    explicit CsvReader(std::string_view text) : s_(text) {}
    std::size_t Line() const { return line_; }
    bool Next(std::vector<std::string>& fields, bool& badQuote) {
        fields.clear();
        badQuote = false;
        if (pos_ >= s_.size()) return false;
        ++line_;
        std::string field;
        bool quoted = false, closed = false; // inside quotes; after the closing one
        while (pos_ < s_.size()) {
            const char c = s_[pos_++];
            if (quoted) {
                if (c != '"')
                    field += c;
                else if (pos_ < s_.size() && s_[pos_] == '"')
                    field += s_[pos_++];
                else
                    quoted = false, closed = true;
            } else if (c == ',') {
                fields.push_back(std::move(field));
                field.clear();
                closed = false;
            } else if (c == '\n' || c == '\r') {
                if (c == '\r' && pos_ < s_.size() && s_[pos_] == '\n') ++pos_;
                break;
            } else if (c == '"' && field.empty() && !closed) {
                quoted = true;
            } else {
                badQuote = badQuote || closed || c == '"';
                field += c;
            }
        }
        badQuote = badQuote || quoted;
        fields.push_back(std::move(field));
        return true;
    }

private:
    std::string_view s_;
    std::size_t pos_ = 0;
    std::size_t line_ = 0;
};

bool IsCode(const std::string& s) {
    return s.size() == 7 && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Parentheses opened and not closed in `s` (negative when more close).
std::ptrdiff_t OpenParentheses(std::string_view s) {
    static const std::string open = cp932::FromUtf8("（"), close = cp932::FromUtf8("）");
    std::ptrdiff_t n = 0;
    for (std::size_t i = 0; i < s.size(); i = cp932::NextChar(s, i))
        n += s.substr(i, open.size()) == open ? 1 : s.substr(i, close.size()) == close ? -1 : 0;
    return n;
}

// "1～19丁目" "1、3丁目" "1～3丁目、5丁目" -> "1-19" "1,3" "1-3,5"; "" for any other note.
std::string ChomeNote(std::string_view note) {
    static const std::string chome = cp932::FromUtf8("丁目");
    const std::string s = cp932::ToHalfWidth(note); // digits, ～ -> ~, 、 -> ､
    if (s.size() < chome.size() || s.compare(s.size() - chome.size(), chome.size(), chome) != 0) return {};
    std::string out;
    std::size_t i = 0;
    while (i < s.size()) {
        std::size_t d = i;
        while (d < s.size() && std::isdigit(static_cast<unsigned char>(s[d])))
            ++d;
        if (d == i) return {};
        out.append(s, i, d - i);
        i = d;
        if (i < s.size() && s[i] == '~') {
            out += '-';
            ++i;
            continue;
        }
        if (s.compare(i, chome.size(), chome) == 0) i += chome.size();
        if (i == s.size()) break;
        if (s[i] != '\xA4') return {}; // ､
        out += ',';
        ++i;
    }
    return out;
}

// The town as shown, and its chōme limit, from the official town text with its notes.
std::pair<std::string, std::string> CleanTown(const std::string& town) {
    static const std::string rest = cp932::FromUtf8("以下に掲載がない場合"),
                             nextBanchi = cp932::FromUtf8("の次に番地がくる場合"),
                             ichien = cp932::FromUtf8("一円"), open = cp932::FromUtf8("（"),
                             close = cp932::FromUtf8("）"), floor = cp932::FromUtf8("階");
    auto endsWith = [](const std::string& s, const std::string& tail) {
        return s.size() > tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
    };
    if (town == rest || endsWith(town, nextBanchi) || endsWith(town, ichien)) return {};
    std::string shown, chome;
    std::size_t i = 0;
    while (i < town.size()) {
        if (town.compare(i, open.size(), open) != 0) {
            const std::size_t n = cp932::CharLength(town, i);
            shown.append(town, i, n);
            i += n;
            continue;
        }
        std::size_t j = i + open.size();
        while (j < town.size() && town.compare(j, close.size(), close) != 0)
            j = cp932::NextChar(town, j);
        const std::string note = town.substr(i + open.size(), j - i - open.size());
        i = std::min(town.size(), j + close.size());
        const std::string half = cp932::ToHalfWidth(note);
        const std::size_t digits = half.find_first_not_of("0123456789");
        if (std::string c = ChomeNote(note); !c.empty())
            chome = c;
        else if (digits > 0 && digits != std::string::npos &&
                 half.compare(digits, std::string::npos, floor) == 0)
            shown += note; // a building's floor: part of the address
    }
    return {shown, chome};
}

// Adds the rows of one CSV file; returns the count and names its kind.
std::size_t ReadCsv(const Source& src, IndexBuilder& builder, std::string& kind, bool& standard) {
    std::string text;
    std::string_view bytes = src.bytes;
    const bool utf8 = bytes.substr(0, 3) == "\xEF\xBB\xBF" || LooksUtf8(bytes);
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    if (utf8) text = cp932::FromUtf8(bytes);
    const std::string_view csv = utf8 ? std::string_view(text) : bytes;

    CsvReader reader(csv);
    std::vector<std::string> f;
    bool badQuote = false;
    std::size_t columns = 0, rows = 0;
    Row pending;
    bool havePending = false;
    std::ptrdiff_t pendingOpen = 0; // parentheses the pending town leaves open, counted as it grows
    auto flush = [&] {
        if (!havePending) return;
        auto [town, chome] = CleanTown(pending.town);
        pending.town = town;
        pending.chome = chome;
        builder.Add(std::move(pending));
        pending = Row{};
        havePending = false;
    };
    while (reader.Next(f, badQuote)) {
        if (f.size() == 1 && f[0].empty()) continue; // a blank line, the last one included
        if (columns == 0) {
            columns = f.size();
            if (columns != kKenAllColumns && columns != kJigyosyoColumns)
                throw Error(
                    src.name,
                    "郵便番号の公式ファイル（KEN_ALL.CSV、utf_ken_all.csv、JIGYOSYO.CSV）ではありません");
            standard = columns == kKenAllColumns;
            kind = standard ? (utf8 ? "KEN_ALL (UTF-8)" : "KEN_ALL (Shift_JIS)") : "JIGYOSYO";
        }
        if (badQuote) throw LineError(src.name, reader.Line(), "引用符（\"）の使い方が正しくありません");
        if (f.size() != columns) throw LineError(src.name, reader.Line(), "列の数が違います");
        const std::string& code = standard ? f[2] : f[7];
        if (!IsCode(code)) throw LineError(src.name, reader.Line(), "郵便番号が7桁の数字ではありません");
        ++rows;
        if (!standard) {
            builder.Add(Row{code, f[3], f[4], f[5], f[6], f[2], {}, true});
            continue;
        }
        // KEN_ALL.CSV continues a long town name on the next rows of the same code: the parenthesis
        // opened in the first row closes in a later one.
        if (havePending && pending.code == code && pendingOpen > 0) {
            pending.town += f[8];
            pendingOpen += OpenParentheses(f[8]);
            continue;
        }
        flush();
        pending = Row{code, f[6], f[7], f[8], {}, {}, {}, false};
        pendingOpen = OpenParentheses(f[8]);
        havePending = true;
    }
    flush();
    if (rows == 0) throw Error(src.name, "データがありません");
    return rows;
}

} // namespace

ImportReport ImportPostcodeFiles(const std::vector<std::string>& files, const std::string& outputPath,
                                 const std::string& carryFrom, const ShrinkQuestion& confirmShrink) {
    if (files.empty()) throw EPostcodeImport(cp932::FromUtf8("読み込むファイルがありません"));
    std::vector<Source> sources;
    for (const std::string& path : files) {
        Source s;
        s.name = cp932::FromUtf8(path);
        try {
            s.bytes = fileio::ReadFile(path, kMaxOfficialFileBytes);
        } catch (const EInOutError& e) { // among several files, the one that failed is named
            throw EInOutError(e.ErrorCode(), s.name + ": " + e.Message());
        }
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0) s.date = st.st_mtime;
        if (s.bytes.empty()) throw Error(s.name, "空のファイルです");
        if (IsZip(s.bytes)) {
            for (Source& inner : Unzip(s.name, s.bytes))
                sources.push_back(std::move(inner));
        } else {
            sources.push_back(std::move(s));
        }
    }

    IndexBuilder builder;
    ImportReport report;
    bool gotStandard = false, gotBusiness = false;
    std::time_t newest = 0;
    for (const Source& src : sources) {
        std::string kind;
        bool standard = false;
        const std::size_t rows = ReadCsv(src, builder, kind, standard);
        (standard ? gotStandard : gotBusiness) = true;
        report.files.push_back({src.name, kind, rows});
        newest = std::max(newest, src.date);
    }

    std::size_t inUse = 0; // rows of the index in use
    if (!carryFrom.empty()) {
        try {
            const auto old = Index::Open(carryFrom);
            inUse = old->EntryCount();
            for (std::size_t i = 0; i < old->EntryCount(); ++i) {
                const EntryView v = old->EntryAt(i);
                if (v.business ? gotBusiness : gotStandard) continue;
                std::string code = std::to_string(v.code);
                code.insert(0, 7 - std::min<std::size_t>(7, code.size()), '0');
                builder.Add(Row{code, std::string(v.pref), std::string(v.city), std::string(v.town),
                                std::string(v.street), std::string(v.office), std::string(v.chome),
                                v.business});
                ++(v.business ? report.carriedBusiness : report.carriedStandard);
            }
        } catch (const EPostcodeData& e) {
            // The new index holds only what the files bring; when there was an index, the user hears why.
            if (e.Why() != EPostcodeData::Reason::Missing && (!gotStandard || !gotBusiness))
                report.carryProblem = e.Message();
        }
    }

    const std::size_t rows = builder.StandardRows() + builder.BusinessRows();
    if (rows * 2 < inUse) {
        const std::string question =
            cp932::FromUtf8("取り込むと郵便番号データが今の半分より少なくなります（今 ") +
            std::to_string(inUse) + cp932::FromUtf8(" 件、取り込み後 ") + std::to_string(rows) +
            cp932::FromUtf8(" 件）。ファイルが途中で切れているか、違うファイルかもしれません。");
        if (!confirmShrink || !confirmShrink(question)) throw EPostcodeImport(question);
    }

    report.dataDate = DateText(newest);
    const std::string bytes = builder.Build(report.dataDate);
    report.standardRows = builder.StandardRows();
    report.businessRows = builder.BusinessRows();
    report.codes = builder.Codes();
    fileio::WriteFileAtomic(outputPath, bytes);
    return report;
}

std::vector<std::string> ReportLines(const ImportReport& r, const std::string& outputPath) {
    std::vector<std::string> lines;
    for (const auto& f : r.files)
        lines.push_back(f.name + " (" + f.kind + "): " + std::to_string(f.rows) + cp932::FromUtf8("行"));
    if (r.carriedStandard)
        lines.push_back(cp932::FromUtf8("前のデータから引き継いだ住所: ") +
                        std::to_string(r.carriedStandard) + cp932::FromUtf8("件"));
    if (r.carriedBusiness)
        lines.push_back(cp932::FromUtf8("前のデータから引き継いだ事業所: ") +
                        std::to_string(r.carriedBusiness) + cp932::FromUtf8("件"));
    if (!r.carryProblem.empty())
        lines.push_back(cp932::FromUtf8("前のデータから引き継げませんでした: ") + r.carryProblem);
    lines.push_back(cp932::FromUtf8("郵便番号データを書きました: ") + cp932::FromUtf8(outputPath));
    lines.push_back(cp932::FromUtf8("住所 ") + std::to_string(r.standardRows) +
                    cp932::FromUtf8("件、事業所 ") + std::to_string(r.businessRows) +
                    cp932::FromUtf8("件、郵便番号 ") + std::to_string(r.codes) +
                    cp932::FromUtf8("種類、データの日付 ") + (r.dataDate.empty() ? "-" : r.dataDate));
    return lines;
}

int RunImportPostcodes(const std::vector<std::string>& files, const std::string& outputPath,
                       const std::string& carryFrom, std::ostream& out, std::ostream& err,
                       const ShrinkQuestion& confirmShrink) {
    if (files.empty()) {
        err << "usage: --import-postcodes FILE...\n";
        return 2;
    }
    try {
        const ImportReport report = ImportPostcodeFiles(files, outputPath, carryFrom, confirmShrink);
        for (const std::string& line : ReportLines(report, outputPath))
            out << cp932::ToUtf8(line) << "\n";
        return 0;
    } catch (const Exception& e) {
        err << cp932::ToUtf8(e.Message()) << "\n";
        err << cp932::ToUtf8(cp932::FromUtf8("郵便番号データは変わっていません")) << "\n";
        return 1;
    }
}

} // namespace postcode
