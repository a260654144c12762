#pragma once
// Goods names as shops write them to sell, and as a slip needs them.
#include <string>
#include <string_view>

namespace orders {

// An item name without what a shop adds to sell it: bracketed promotion words (【送料無料】,
// 【楽天スーパーSALE】, ［ポイント10倍］), the decoration marks (★, ◆, ♪ ...) and promotion words they set
// off (★大人気★). Brackets that say something about the goods themselves (【冷凍】, 【3個セット】) stay;
// a name that would be left empty stays as it is.
std::string WithoutPromotion(std::string_view itemName);

} // namespace orders
