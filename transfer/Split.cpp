#include "transfer/Split.h"

#include "platform/Cp932.h"
#include "transfer/Strip.h"
#include "transfer/ZipTel.h"

namespace {

constexpr std::size_t kHeadBytes = 8;
constexpr std::size_t kRestBytes = 80;
constexpr std::size_t kRestMinChars = 7;

} // namespace

std::vector<std::string> SplitOneLine(std::span<const std::string> memo) {
    std::vector<std::string> texts(kWorkingLines);
    for (std::size_t k = 0; k < kWorkingLines && k < memo.size(); ++k)
        texts[k] = cp932::PlainTrim(memo[k]);

    for (std::size_t k = 0; k < kWorkingLines; ++k) {
        std::string_view text = texts[k];
        if (text.size() <= kHeadBytes) continue; // no rest, nothing to split
        const std::string head(text.substr(0, kHeadBytes));
        // The rest is limited to 80 bytes; a double-byte character that straddles the limit is left
        // out whole rather than cut in half.
        std::string rest = cp932::CutBytes(text.substr(kHeadBytes), kRestBytes);
        if (ClassifyZipTel(head) != ZipTel::Postcode || cp932::CharCount(rest) < kRestMinChars) continue;
        texts[k] = head;
        for (std::size_t j = k + 1; j < kWorkingLines; ++j) {
            if (cp932::PlainTrim(texts[j]).empty()) {
                texts[j] = std::move(rest);
                break;
            }
        }
    }
    return texts;
}
