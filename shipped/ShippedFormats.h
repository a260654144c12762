#pragma once
// The shipped files, one table entry per file: the generic list and each shop platform's upload that
// tells the shop which parcels left with which number. Adding a platform is adding an entry;
// docs/shipped-files.md cites each platform's documentation for its entry.
#include "shipped/Carrier.h"
#include "shipped/SheetWriter.h"

#include <array>
#include <span>
#include <string_view>

namespace shipped {

// Where a column's value comes from.
enum class Source {
    Order,          // the order reference
    Ref,            // one of the platform's IDs kept with the order (ShippedColumn::ref)
    Tracking,       // the slip number, folded
    Carrier,        // the format's code for the carrier of the settings
    ShipDay,        // yyyy-MM-dd
    ShipDaySlashed, // yyyy/MM/dd
    Consignee,
    Blank,
};

struct ShippedColumn {
    std::string_view header; // UTF-8, as the platform names the column
    Source source;
    CellKind kind;
    std::string_view label = {}; // the localised name of a label row, where the format has one (UTF-8)
    std::string_view ref = {};   // Source::Ref: the name the import keeps the ID under
};

// How the slips of one order become rows.
enum class Rows {
    PerNumber,    // one row for each number: every parcel of the order is registered
    FirstOfOrder, // one row per order with its first number; the others are reported apart
};

struct ShippedFormat {
    std::string_view name;     // "generic", "rakuten", "amazon": the probe's --format
    std::string_view platform; // only slips of this platform (ShippedSlip::platform); empty: every slip
    std::string_view fileStem; // the file is FileStem_yyyyMMdd-yyyyMMdd.extension
    std::string_view extension;
    char separator;
    TextEncoding encoding; // the generic list may be asked for in another; the platforms read only theirs
    std::span<const std::string_view> preamble; // cells of a row before everything else (UTF-8)
    bool labels;                                // a row of the columns' labels before the header row
    std::span<const ShippedColumn> columns;
    Rows rows;
    bool needsOrder; // a slip without an order reference cannot be matched by the platform
    std::array<std::string_view, kCarrierCount> carriers; // the code of each Carrier (UTF-8)
};

// Every format, the generic list first.
std::span<const ShippedFormat> ShippedFormats();

// The format of that name; nullptr for any other.
const ShippedFormat* FindShippedFormat(std::string_view name);

} // namespace shipped
