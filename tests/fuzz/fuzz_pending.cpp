// Any bytes as the pending file: read as records or counted unreadable, never a crash; the records read,
// written back and read again, are the same records and nothing unreadable.
#include "history/PendingFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto first = history::ParsePending(std::string_view(reinterpret_cast<const char*>(data), size));
    const auto again = history::ParsePending(history::FormatPending(first.records));
    if (again.unreadable != 0 || !(again.records == first.records)) std::abort();
    return 0;
}
