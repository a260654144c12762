#include "shipped/SheetWriter.h"

#include "platform/Cp932.h"
#include "platform/Cp932Codec.h"

namespace shipped {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // what ToUtf8 makes of bytes that are not CP932

bool Digits(std::string_view s) {
    return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

bool IsNumber(std::string_view s) {
    return Digits(s.substr(!s.empty() && s[0] == '-' ? 1 : 0));
}

bool IsDate(std::string_view s) {
    return s.size() == 10 && (s[4] == '-' || s[4] == '/') && s[7] == s[4] && Digits(s.substr(0, 4)) &&
           Digits(s.substr(5, 2)) && Digits(s.substr(8, 2));
}

// Each character the encodings cannot hold (a lone lead byte, a pair with no character) as "?".
std::string Replaced(std::string_view s) {
    std::string out;
    for (std::size_t pos = 0; pos < s.size(); pos = cp932::NextChar(s, pos)) {
        std::string_view ch = s.substr(pos, cp932::CharLength(s, pos));
        out += cp932::ToUtf8(ch).find(kReplacement) == std::string::npos ? std::string(ch) : "?";
    }
    return out;
}

std::string Where(std::size_t row, std::string_view column) {
    return std::to_string(row) + cp932::FromUtf8(" 行目「") + std::string(column) + cp932::FromUtf8("」");
}

} // namespace

std::string SheetCell(std::string_view s, CellKind kind, char separator) {
    const bool plain = (kind == CellKind::Number && IsNumber(s)) || (kind == CellKind::Date && IsDate(s));
    std::string out;
    if (!plain && !s.empty() && std::string_view("=+-@\t\r").find(s[0]) != std::string_view::npos) out = "'";
    out += s;
    // Safe byte by byte: no CP932 trail byte is a separator, a quote or a line break.
    const char special[] = {separator, '"', '\r', '\n', '\0'};
    if (out.find_first_of(special) == std::string::npos) return out;
    std::string quoted = "\"";
    for (char c : out) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

void SheetWriter::Cell(std::string_view s, CellKind kind, std::string_view column) {
    std::string value(s);
    if (cp932::ToUtf8(s).find(kReplacement) != std::string::npos) {
        value = Replaced(s);
        const std::string where = Where(rows_ + 1, column);
        if (kind != CellKind::Text)
            throw ESheetCell(where + cp932::FromUtf8("に文字コードにない文字があります: ") + value);
        notices_.push_back(where + cp932::FromUtf8("の文字コードにない文字を「?」にしました: ") + value);
    }
    if (rowStarted_) text_ += separator_;
    text_ += SheetCell(value, kind, separator_);
    rowStarted_ = true;
}

void SheetWriter::EndRow() {
    text_ += "\r\n";
    rowStarted_ = false;
    ++rows_;
}

std::string SheetWriter::Bytes() const {
    if (encoding_ == TextEncoding::Cp932) return text_;
    return "\xEF\xBB\xBF" + cp932::ToUtf8(text_);
}

} // namespace shipped
