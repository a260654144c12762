#pragma once
// The one writer of CSV and TSV text: every comma- or tab-separated file the program writes goes through
// it, so every one is safe to open in a spreadsheet and exact in what it hands to a shop platform.
//
//   shipped::SheetWriter sheet(',', shipped::TextEncoding::Cp932);
//   sheet.Cell(order, shipped::CellKind::Id, "注文番号");   // column name for messages (CP932)
//   sheet.Cell(day, shipped::CellKind::Date, "出荷日");
//   sheet.EndRow();
//   fileio::WriteFileAtomic(path, sheet.Bytes());
//
// Cells are CP932 and become the target encoding only in Bytes(). A cell that would start with "=", "+",
// "-", "@", a tab or a carriage return is written after a "'", so that a spreadsheet shows it as text
// and never runs it as a formula; a Number or Date cell that is one by the format's definition is left
// as it is. A cell holding the separator, a double quote or a line break is quoted, its quotes doubled.
#include "platform/RuntimeErrors.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace shipped {

enum class TextEncoding {
    Cp932,   // code page 932, what Japanese platforms call Shift_JIS, as the program's other files
    Utf8Bom, // UTF-8 with a byte-order mark, which spreadsheet programs need to read it as UTF-8
};

enum class CellKind {
    Id,     // an order reference, a platform's ID, a tracking number: written exactly, or not at all
    Text,   // free text such as a name: a character the encoding cannot hold becomes "?", with a notice
    Number, // "-"? digits: a number, never taken for a formula
    Date,   // yyyy-MM-dd or yyyy/MM/dd
};

// A character the target encoding cannot hold in an Id, Number or Date cell. The message (CP932) names
// the row and the column.
class ESheetCell : public Exception {
public:
    using Exception::Exception;
};

// The cell as it stands between separators (CP932 in and out), made safe and quoted as described above.
std::string SheetCell(std::string_view cp932, CellKind kind, char separator);

class SheetWriter {
public:
    SheetWriter(char separator, TextEncoding encoding) : separator_(separator), encoding_(encoding) {}

    // Raises ESheetCell as described above; `column` (CP932) names the cell in messages.
    void Cell(std::string_view cp932, CellKind kind, std::string_view column);
    // Ends the row with CR LF.
    void EndRow();

    // The whole text in the target encoding.
    std::string Bytes() const;
    // Rows written so far.
    std::size_t Rows() const { return rows_; }
    // One line (CP932) for each Text cell whose characters had to be replaced.
    const std::vector<std::string>& Notices() const { return notices_; }

private:
    char separator_;
    TextEncoding encoding_;
    std::string text_; // CP932
    bool rowStarted_ = false;
    std::size_t rows_ = 0;
    std::vector<std::string> notices_;
};

} // namespace shipped
