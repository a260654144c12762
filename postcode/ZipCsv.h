#pragma once
// The CSV files inside a ZIP archive, for the import of the official postcode files. The reading is in
// libzaridi_zip.so (platform/LateLibrary.h), loaded at the first archive: only the import needs libzip.
#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

namespace postcode {

struct ZippedFile {
    std::string name; // as the archive stores it: UTF-8 (or ASCII) for the official files
    std::time_t date = 0;
    std::string bytes;
};

struct ZipContents {
    enum class Status { Ok, Damaged, TooBig, NoReader };
    Status status = Status::Ok;
    std::vector<ZippedFile> files; // every member named *.csv, in the archive's order
    std::string failed;            // the member that is damaged or too big; the loader's message for NoReader
};

// At most `limit` bytes unpacked in all; every member's checksum is verified.
ZipContents ReadZippedCsv(const std::string& archive, std::size_t limit);

} // namespace postcode
