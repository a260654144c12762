#pragma once
// The window's texts around the postcode data (CP932), so the glue only places them.
#include "postcode/Check.h"
#include "postcode/Index.h"

#include <string>
#include <vector>

namespace postcode {

// Help-bar texts.
std::string NotFoundText();          // 郵便番号が見つかりません
std::string FilledFromAddressText(); // 住所から郵便番号を補いました
// 郵便番号データが使えません, and that Japan Post's KEN_ALL file goes in with --import-postcodes.
std::string DataUnavailableText();

// What Edit_Add1 gets for an entry: prefecture + city + town, and a business office's street.
std::string AddressText(const Entry& entry);
// One line of the pick list for a code with several entries: the address, then the office name.
std::string ChoiceText(const Entry& entry);

// The red line beside the postcode and above the print question on a mismatch:
// 郵便番号と住所が一致しません（〒530-0001 大阪府大阪市北区梅田）; "" for any other result.
std::string MismatchWarning(const CheckResult& result);

// The warning when an address fits several codes, naming the first three:
// 住所に合う郵便番号が複数あります（〒100-0001、〒100-0002、〒100-0003 ほか）.
std::string SeveralCodesWarning(const std::vector<std::string>& codes);

// 郵便番号データ 2025-09-30 (or without a date when the index has none).
std::string DataDateText(const Index& index);

} // namespace postcode
