#pragma once
// Order files as shop platforms and spreadsheets export them: comma- or tab-separated, UTF-8 (with or
// without a byte-order mark) or Shift_JIS (CP932), told apart by their bytes; a header row, then one
// row per item. Quoted cells may hold delimiters, doubled quotes and line breaks; lines end in CR LF,
// LF or CR. The file is decoded to UTF-8 once and its cells are cut out again when orders are built,
// so a large file costs little more than its own text.
#include "platform/RuntimeErrors.h"

#include <cstddef>
#include <string>
#include <vector>

namespace orders {

// A file that cannot be imported. The message (CP932) names the file, and the row when one is to blame.
class EOrderFile : public Exception {
public:
    using Exception::Exception;
};

enum class OrderEncoding { Utf8, Cp932 };

// Far above a real export (10,000 orders of a hundred columns are under 20 MB); a larger file is
// refused at once instead of being read.
inline constexpr std::size_t kMaxOrderFileBytes = std::size_t{32} << 20;
inline constexpr std::size_t kMaxOrderRows = 200000;
inline constexpr std::size_t kMaxOrderColumns = 1000;

struct OrderTable {
    std::string path; // as given, UTF-8
    OrderEncoding encoding = OrderEncoding::Utf8;
    char delimiter = ',';
    std::vector<std::string> header;  // the header row's cells, trimmed, UTF-8
    std::vector<std::string> samples; // per column, the first value below the header that is not blank
    struct Row {
        std::size_t number; // row number as a spreadsheet shows it: the file's first row is 1
        std::size_t offset; // where the row starts in `text`
    };
    std::vector<Row> rows;                   // the data rows that are not blank, in file order; never empty
    std::vector<std::size_t> repeatedHeader; // rows equal to the header row (two exports joined), skipped
    std::string text;                        // the whole file as UTF-8, without a byte-order mark
};

// Reads and checks the whole file. Raises EOrderFile for a file that cannot be read, is not a regular
// file, is larger than kMaxOrderFileBytes, is empty, is binary or in another encoding (a UTF-8 file
// with a few bytes of another encoding among its characters is refused too, naming the first row that
// holds them, rather than read as Shift_JIS nonsense), has a quote left open, a row with more or fewer
// cells than the header (trailing empty cells aside), or no data row under its header
// ("注文がありません"). A row that repeats the header row is skipped (noted in repeatedHeader).
OrderTable ReadOrderTable(const std::string& path);

// The same on bytes already in memory; `path` only names the file in messages.
OrderTable ParseOrderTable(std::string bytes, const std::string& path);

// The cells of data row `index` (untrimmed, as many as the header has).
std::vector<std::string> RowCells(const OrderTable& table, std::size_t index);

// "注文ファイル「PATH」" + detail, as CP932, ready to be raised.
EOrderFile OrderFileError(const std::string& path, const std::string& utf8Detail);

} // namespace orders
