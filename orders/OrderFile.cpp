#include "orders/OrderFile.h"

#include "orders/OrderText.h"
#include "platform/Cp932.h"
#include "platform/Cp932Codec.h"
#include "platform/FileIO.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

namespace orders {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

std::string RowText(std::size_t row) {
    return std::to_string(row) + "行目";
}

struct Utf8Census {
    std::size_t firstBad = std::string_view::npos; // offset of the first byte that is no UTF-8
    std::size_t bad = 0;                           // bytes that are no UTF-8
    std::size_t characters = 0;                    // well-formed sequences of two bytes or more
};

// Shift_JIS text makes a well-formed UTF-8 sequence only now and then, and breaks one at nearly every
// character; UTF-8 text with a pasted Shift_JIS cell is the other way round.
Utf8Census CountUtf8(std::string_view s) {
    Utf8Census c;
    char32_t cp;
    for (std::size_t i = 0; i < s.size();) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        std::size_t len = cp932::DecodeUtf8(s, i, cp);
        if (len == 0) {
            if (c.bad++ == 0) c.firstBad = i;
            ++i;
        } else {
            ++c.characters;
            i += len;
        }
    }
    return c;
}

// EUC-JP decodes as CP932 too (as nonsense): its text never uses the lead bytes 0x81-0x9F that every
// Japanese CP932 text is full of, and pairs up bytes from 0xA1 on.
bool LooksLikeEucJp(std::string_view s) {
    std::size_t pairs = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) continue;
        if (c == 0x8E || (c >= 0xA1 && c <= 0xFE)) {
            if (i + 1 >= s.size()) return false;
            unsigned char t = static_cast<unsigned char>(s[i + 1]);
            if (t < 0xA1 || t > 0xFE) return false;
            ++pairs;
            ++i;
        } else {
            return false;
        }
    }
    return pairs > 0;
}

char DetectDelimiter(std::string_view text) {
    std::string_view first = text.substr(0, text.find('\n'));
    auto tabs = std::count(first.begin(), first.end(), '\t');
    auto commas = std::count(first.begin(), first.end(), ',');
    return tabs > commas ? '\t' : ',';
}

struct Record {
    bool closed = true;       // false when a quoted cell is still open at the end of the text
    std::size_t count = 0;    // cells in the record
    bool textDropped = false; // a cell past the ones kept holds more than blanks
};

// Reads the record at `pos` and moves `pos` past its line end. Only the first `keep` cells go into
// `cells`, so a line of a million commas costs no memory.
Record ReadRecord(std::string_view text, std::size_t& pos, char delim, std::vector<std::string>& cells,
                  std::size_t keep) {
    Record r;
    cells.clear();
    const std::size_t n = text.size();
    for (;;) {
        std::string cell;
        if (pos < n && text[pos] == '"') {
            ++pos;
            for (;;) {
                std::size_t q = text.find('"', pos);
                if (q == std::string_view::npos) {
                    r.closed = false;
                    return r;
                }
                cell.append(text.substr(pos, q - pos));
                pos = q + 1;
                if (pos < n && text[pos] == '"') {
                    cell += '"';
                    ++pos;
                    continue;
                }
                break;
            }
        }
        // Text after a closing quote, or an unquoted cell, runs to the delimiter or the line end.
        std::size_t end = pos;
        while (end < n && text[end] != delim && text[end] != '\n' && text[end] != '\r')
            ++end;
        cell.append(text.substr(pos, end - pos));
        if (++r.count <= keep)
            cells.push_back(std::move(cell));
        else if (!TrimBlanks(cell).empty())
            r.textDropped = true;
        pos = end;
        if (pos >= n) return r;
        if (text[pos] == delim) {
            ++pos;
            continue;
        }
        if (text[pos] == '\r' && pos + 1 < n && text[pos + 1] == '\n') ++pos;
        ++pos;
        return r;
    }
}

// The row (as ParseOrderTable numbers them) that holds byte `offset` of `text`: records are counted the
// way they are read, so a line break inside quotes does not start one. Quotes and delimiters are ASCII,
// the same bytes in either encoding, so this works on the file's bytes before they are decoded too.
std::size_t RowAt(std::string_view text, std::size_t offset) {
    const char delim = DetectDelimiter(text);
    std::vector<std::string> none;
    std::size_t pos = 0, row = 0;
    while (pos < text.size()) {
        ++row;
        ReadRecord(text, pos, delim, none, 0);
        if (offset < pos) break;
    }
    return std::max<std::size_t>(row, 1);
}

// Decodes `bytes` (byte-order mark removed) to UTF-8 after telling its encoding; raises for binary
// data and for text in neither encoding.
std::string Decode(std::string bytes, const std::string& path, OrderEncoding& encoding) {
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        throw OrderFileError(path, "はUTF-16で保存されています。UTF-8かShift_JISで保存し直してください");
    bool bom = bytes.starts_with(kBom);
    if (bom) bytes.erase(0, kBom.size());
    while (!bytes.empty() && bytes.back() == '\x1A') // an old end-of-file mark
        bytes.pop_back();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F)
            throw OrderFileError(path, "はテキストファイルではありません（" + RowText(RowAt(bytes, i)) +
                                           "に文字でないバイトがあります）");
    }
    const Utf8Census utf8 = CountUtf8(bytes);
    if (utf8.bad == 0) {
        encoding = OrderEncoding::Utf8;
        return bytes;
    }
    const std::string retry = "。UTF-8かShift_JISで保存し直してください";
    if (bom || utf8.characters > utf8.bad)
        throw OrderFileError(path, "の文字コードを判別できません（" + RowText(RowAt(bytes, utf8.firstBad)) +
                                       "）。UTF-8の中に別の文字コードの文字があります" + retry);
    if (LooksLikeEucJp(bytes)) throw OrderFileError(path, "の文字コードを判別できません（EUC-JP）" + retry);
    std::string text = cp932::ToUtf8(bytes);
    std::size_t replaced = text.find(kReplacement);
    if (replaced == std::string::npos) {
        encoding = OrderEncoding::Cp932;
        return text;
    }
    throw OrderFileError(path,
                         "の文字コードを判別できません（" + RowText(RowAt(text, replaced)) + "）" + retry);
}

EOrderFile TooLarge(const std::string& path) {
    return OrderFileError(path, "は大きすぎます（" + std::to_string(kMaxOrderFileBytes >> 20) + " MBまで）");
}

bool IsBlank(const std::vector<std::string>& cells) {
    return std::all_of(cells.begin(), cells.end(),
                       [](const std::string& c) { return TrimBlanks(c).empty(); });
}

bool IsHeaderAgain(const std::vector<std::string>& cells, const std::vector<std::string>& header) {
    if (cells.size() < header.size()) return false;
    for (std::size_t c = 0; c < header.size(); ++c)
        if (TrimBlanks(cells[c]) != header[c]) return false;
    return std::any_of(header.begin(), header.end(), [](const std::string& h) { return !h.empty(); });
}

} // namespace

EOrderFile OrderFileError(const std::string& path, const std::string& utf8Detail) {
    return EOrderFile(cp932::FromUtf8("注文ファイル「" + path + "」" + utf8Detail));
}

OrderTable ParseOrderTable(std::string bytes, const std::string& path) {
    OrderTable t;
    t.path = path;
    t.text = Decode(std::move(bytes), path, t.encoding);
    if (TrimBlanks(t.text).empty()) throw OrderFileError(path, "は空です");
    t.delimiter = DetectDelimiter(t.text);

    std::vector<std::string> cells;
    std::size_t pos = 0, number = 0;
    bool haveHeader = false;
    while (pos < t.text.size()) {
        std::size_t start = pos;
        ++number;
        Record r =
            ReadRecord(t.text, pos, t.delimiter, cells, haveHeader ? t.header.size() : kMaxOrderColumns);
        if (!r.closed) throw OrderFileError(path, "の" + RowText(number) + "で引用符（\"）が閉じていません");
        if (!r.textDropped && IsBlank(cells)) continue;
        if (!haveHeader) {
            if (r.count > kMaxOrderColumns)
                throw OrderFileError(path, "の見出しの列が多すぎます（" + std::to_string(kMaxOrderColumns) +
                                               "列まで）");
            for (const std::string& c : cells)
                t.header.push_back(TrimBlanks(c));
            t.samples.resize(cells.size());
            haveHeader = true;
            continue;
        }
        if (IsHeaderAgain(cells, t.header)) {
            t.repeatedHeader.push_back(number);
            continue;
        }
        if (r.count < t.header.size() || r.textDropped)
            throw OrderFileError(path, "の" + RowText(number) + "は列の数が見出しと違います（見出し" +
                                           std::to_string(t.header.size()) + "列、この行" +
                                           std::to_string(r.count) + "列）");
        if (t.rows.size() == kMaxOrderRows)
            throw OrderFileError(path, "の行が多すぎます（" + std::to_string(kMaxOrderRows) + "行まで）");
        t.rows.push_back({number, start});
        for (std::size_t c = 0; c < t.samples.size(); ++c)
            if (t.samples[c].empty()) t.samples[c] = TrimBlanks(cells[c]);
    }
    if (t.rows.empty()) throw OrderFileError(path, "に注文がありません");
    return t;
}

OrderTable ReadOrderTable(const std::string& path) {
    std::error_code ec;
    auto status = std::filesystem::status(path, ec);
    if (!ec && std::filesystem::exists(status)) {
        if (!std::filesystem::is_regular_file(status))
            throw OrderFileError(path, "は通常のファイルではありません");
        auto size = std::filesystem::file_size(path, ec);
        if (!ec && size > kMaxOrderFileBytes) throw TooLarge(path);
    }
    std::string bytes;
    try {
        bytes = fileio::ReadFile(path, kMaxOrderFileBytes);
    } catch (const EInOutError& e) {
        if (e.ErrorCode() == EFBIG) throw TooLarge(path); // grew while it was being read
        throw OrderFileError(path, "を読めません: " + cp932::ToUtf8(e.Message()));
    }
    return ParseOrderTable(std::move(bytes), path);
}

std::vector<std::string> RowCells(const OrderTable& table, std::size_t index) {
    std::vector<std::string> cells;
    std::size_t pos = table.rows.at(index).offset;
    ReadRecord(table.text, pos, table.delimiter, cells, table.header.size()); // checked when it was read
    return cells;
}

} // namespace orders
