#pragma once
// How the import compares header texts, shared by the vocabulary and the platform table.
#include <string>
#include <string_view>
#include <vector>

namespace orders {

// Lower-case ASCII with full-width letters and digits folded to it, and blanks, punctuation and
// brackets dropped: "送付先 住所：都道府県", "Shipping_Zip" and "ＴＥＬ（１）" compare as their words.
std::string NormaliseHeader(std::string_view header);

// Every header cell normalised, once per file.
std::vector<std::string> NormaliseHeaders(const std::vector<std::string>& header);

// The first column whose normalised header (of NormaliseHeaders) compares equal to `name`, or kNoColumn.
int FindHeader(const std::vector<std::string>& normalised, std::string_view name);

} // namespace orders
