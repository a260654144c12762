#include "app/SlipPdfName.h"

#include "platform/Cp932.h"
#include "platform/Cp932Codec.h"

namespace {

constexpr std::size_t kConsigneeBytes = 80;

// One character of a name, kept as it stands unless a file name should not hold it.
bool Unfit(std::string_view ch) {
    if (ch.size() != 1) return false; // double-byte: its trail byte may be 0x5C or '|' and still be a kanji
    const unsigned char c = static_cast<unsigned char>(ch[0]);
    return c < 0x20 || c == 0x7F ||
           std::string_view("/\\:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos;
}

} // namespace

std::string SlipPdfFileName(std::string_view day, std::string_view consignee, int copy) {
    std::string date;
    for (char c : day)
        date += c == '/' ? '-' : c;
    std::string name;
    const std::string trimmed = cp932::PlainTrim(consignee);
    for (std::size_t i = 0; i < trimmed.size(); i = cp932::NextChar(trimmed, i)) {
        const std::string_view ch = std::string_view(trimmed).substr(i, cp932::CharLength(trimmed, i));
        if (!Unfit(ch)) name += ch;
    }
    while (!name.empty() && name.front() == '.')
        name.erase(0, 1);
    name = cp932::PlainTrim(cp932::CutBytes(name, kConsigneeBytes));
    std::string file = cp932::FromUtf8("送り状_") + date;
    if (!name.empty()) file += "_" + name;
    if (copy > 1) file += " (" + std::to_string(copy) + ")";
    return file + ".pdf";
}
