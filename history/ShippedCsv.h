#pragma once
// The shipped list for the shop platforms' "shipped" upload: one line per shipment with the order
// reference, the ship day, the carrier, the tracking number and the consignee's name, under a header
// line. Comma-separated, CR LF line ends, every cell through shipped::SheetWriter (safe for
// spreadsheets, quoted where needed). The files for each shop platform are shipped/ShippedFile.h.
//
// For the glue (the export dialog picks the days, the encoding and the file):
//   std::size_t n = history::ExportShipped(store, "2024-05-01", "2024-05-31", history::CsvEncoding::Utf8Bom,
//   path);
#include "history/HistoryStore.h"

#include <string>
#include <vector>

namespace history {

enum class CsvEncoding {
    Utf8Bom,  // UTF-8 with a byte-order mark, which spreadsheet programs need to read it as UTF-8
    ShiftJis, // code page 932, as the program's other files
};

// The carrier written on every line (CP932).
std::string DefaultCarrier();

// The whole file's bytes; shipped::ESheetCell when an order reference or a tracking number holds bytes
// that are no character.
std::string ShippedCsv(const std::vector<ShippedRow>& rows, CsvEncoding encoding, const std::string& carrier);

// The shipments of the days [from, to] written atomically to `path` (EInOutError when it cannot be,
// EHistoryStore when the store cannot be read, ESheetCell as above); returns how many lines were written.
std::size_t ExportShipped(Store& store, const std::string& from, const std::string& to, CsvEncoding encoding,
                          const std::string& path, const std::string& carrier = DefaultCarrier());

} // namespace history
