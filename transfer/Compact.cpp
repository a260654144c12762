#include "transfer/Compact.h"

#include "platform/Cp932.h"
#include "transfer/ZipTel.h"

std::size_t MailMarkerCount(std::string_view text) {
    return CountEach(text, kMailMarkers);
}

std::vector<std::string> Compact(std::span<const std::string> memo) {
    std::vector<std::string> kept;
    for (std::size_t k = 0; k < kMemoLinesRead && k < memo.size(); ++k) {
        std::string t = cp932::PlainTrim(memo[k]);
        if (t.empty() || MailMarkerCount(t) > 0) continue;
        kept.push_back(std::move(t));
    }
    return kept;
}
