#pragma once
// How the import compares header texts, shared by the vocabulary and the platform table.
#include <string>
#include <string_view>
#include <vector>

namespace orders {

// Lower-case ASCII with full-width letters and digits folded to it, and blanks, punctuation and
// brackets dropped: "送付先 住所：都道府県", "Shipping_Zip" and "ＴＥＬ（１）" compare as their words.
std::string NormaliseHeader(std::string_view header);

// The first column whose header compares equal to `name`, or kNoColumn.
int FindHeader(const std::vector<std::string>& header, std::string_view name);

} // namespace orders
