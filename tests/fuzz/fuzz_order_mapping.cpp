// A header row (the bytes before the first NUL, read as an order file's header) and any bytes as the
// mapping file: reading never crashes, and a mapping written for the header reads back as written.
#include "orders/OrderColumns.h"
#include "orders/OrderFile.h"
#include "platform/ProfileFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orders;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t split = bytes.find('\0');
    if (split == std::string::npos) return 0;
    // A data row with at least as many cells as the header, split as the header's first line is.
    const std::string head = bytes.substr(0, split);
    const std::string first = head.substr(0, head.find('\n'));
    const char delimiter =
        std::count(first.begin(), first.end(), '\t') > std::count(first.begin(), first.end(), ',') ? '\t'
                                                                                                   : ',';
    std::vector<std::string> header;
    try {
        const auto cells = static_cast<std::size_t>(std::count(head.begin(), head.end(), delimiter));
        header = ParseOrderTable(head + "\n1" + std::string(cells, delimiter), "fuzz.csv").header;
    } catch (const EOrderFile&) {
        return 0;
    }

    // Parse: whatever the file holds, the columns stay within the header.
    const ProfileFile file = ProfileFile::FromBytes("fuzz.ini", std::string_view(bytes).substr(split + 1));
    ColumnMapping parsed = RecogniseColumns(header);
    ReadMapping(file, header, parsed);
    for (int c : parsed.columns)
        Check(c == kNoColumn || (c >= 0 && static_cast<std::size_t>(c) < header.size()));

    // Format, then parse again: the same mapping, from a start that has nothing.
    ProfileFile written = file;
    WriteMapping(written, header, parsed);
    ColumnMapping back;
    back.columns.fill(kNoColumn - 1); // every kind must be read, "none" included
    Check(ReadMapping(ProfileFile::FromBytes("fuzz.ini", written.Bytes()), header, back));
    Check(back.columns == parsed.columns);
    return 0;
}
