#pragma once
// Records kept back while the store cannot be written: tavo_Zaridi2.pending beside the settings file.
// CP932 text like the settings, one section per record named by its uuid, then NAME=VALUE lines:
//
//   [0b7f3c1e-6a52-4d0e-9c1a-3f8e2d4b5a69]
//   time=2024-05-01T09:30:00+09:00
//   printer=dotmatrix
//   resolution=360,360
//   margins=0,-14
//   ComboBox_SEL=手差し
//   Edit_Zip=100-0001
//   ...                      every field of the slip under its design name; check boxes 0 or 1
//   tracking=123456789012    only when set
//   order=A-1001             only when set
//   platform=rakuten         only when set
//   refs={"送付先ID":"1001"}  only when set: the platform's IDs, a JSON object (RefsToJson)
//   delivery_day=2024-12-10  the day the order asked for, only when set
//   delivery_time=14-16時    the slot it asked for, only when set
//   changed=Edit_Custo1      the order's fields changed before printing, comma-separated, only when set
//   void=1                   only when set
//   reprint_of=17            only when set
//   queue=42                 the shared queue's order it was printed for, only when set
//   desk=packing-1           the desk that printed it, only when set
//
// In values "%" and the control bytes are written as %XX (no CP932 trail byte is one of them).
// Unknown names are skipped, so an older program reads a newer file. A section is a record only with a
// uuid for its name, a valid time and every other line above; anything else in the file (a section
// without them, a line outside any section or without "=") makes it unreadable: such a file is never
// stored from, only moved aside for a person to look at.
#include "history/HistoryRecord.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace history {

inline constexpr const char* kPendingFileName = "tavo_Zaridi2.pending";

std::string PendingFilePath(const std::string& dir);

struct PendingContents {
    std::vector<HistoryRecord> records; // the whole records, in file order
    std::size_t unreadable = 0;         // sections that are not records, and stray lines
};

std::string FormatPending(const std::vector<HistoryRecord>& records);
PendingContents ParsePending(std::string_view bytes);

// Empty when the file does not exist; EInOutError when it cannot be read.
PendingContents ReadPending(const std::string& path);
// Replaces the file atomically; an empty list removes it. EInOutError when it cannot be written, the
// old file then being exactly as it was.
void WritePending(const std::string& path, const std::vector<HistoryRecord>& records);
// Renames an unreadable file to PATH.unreadable-yyyyMMdd-HHmmss (a free name) and returns that name;
// EInOutError when it cannot.
std::string MovePendingAside(const std::string& path);

} // namespace history
