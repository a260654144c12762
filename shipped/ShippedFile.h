#pragma once
// A shipped file from printed slips: the generic list or a platform's upload (ShippedFormats.h).
//
//   auto file = shipped::BuildShippedFile(*shipped::FindShippedFormat("rakuten"), slips, carrier);
//   std::string path = shipped::WriteShippedFile(folder, format, "2024-05-01", "2024-05-31", file);
//   then show file.apart (why each was left out), file.extra and file.notices.
//
// A file holds the format's platform's slips (every slip for the generic list) that are not void and
// carry a number of a known shape with the right check digit (tracking/SlipNumber.h), written folded,
// in the order they were printed. The others are not dropped silently: a slip without a number, with a
// wrong one, with a number already written, or without the order reference a platform needs, is listed
// in `apart`, and so is a void slip: it is no parcel, and the shop sees which numbers were spoiled.
#include "shipped/ShippedFormats.h"
#include "shipped/ShippedSlip.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace shipped {

enum class ApartReason { Void, NoNumber, InvalidNumber, Duplicate, NoOrder };

struct ApartSlip {
    std::size_t slip; // index into the slips given
    ApartReason reason;
    bool operator==(const ApartSlip&) const = default;
};

// The numbers of an order a FirstOfOrder format has no row for (CP932).
struct ExtraNumbers {
    std::string order;
    std::vector<std::string> numbers;
    bool operator==(const ExtraNumbers&) const = default;
};

struct ShippedFile {
    std::string bytes;
    std::size_t rows = 0; // data rows
    std::vector<ApartSlip> apart;
    std::vector<ExtraNumbers> extra;
    std::vector<std::string> notices; // a name's characters replaced (SheetWriter::Notices)
};

// Raises ESheetCell when an ID or a number holds a character the file's encoding cannot.
ShippedFile BuildShippedFile(const ShippedFormat& format, std::span<const ShippedSlip> slips,
                             Carrier carrier);

// Why a slip was left out, for the window (CP932).
std::string ApartReasonText(ApartReason reason);

// "rakuten_20240501-20240531.csv" for the days "2024-05-01" to "2024-05-31".
std::string ShippedFileName(const ShippedFormat& format, std::string_view from, std::string_view to);

// Writes the file atomically into `folder` under ShippedFileName and returns its path; EInOutError when
// it cannot be written, leaving an old file of that name as it was.
std::string WriteShippedFile(const std::string& folder, const ShippedFormat& format, std::string_view from,
                             std::string_view to, const ShippedFile& file);

} // namespace shipped
