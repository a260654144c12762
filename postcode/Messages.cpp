#include "postcode/Messages.h"

#include "platform/Cp932Codec.h"
#include "postcode/Code.h"

namespace postcode {

std::string NotFoundText() {
    return cp932::FromUtf8("郵便番号が見つかりません");
}

std::string FilledFromAddressText() {
    return cp932::FromUtf8("住所から郵便番号を補いました");
}

std::string DataUnavailableText() {
    // What to do about it, in the bar's one line; the README's postcode section says it at length.
    return cp932::FromUtf8(
        "郵便番号データが使えません：日本郵便の KEN_ALL を --import-postcodes で取り込んでください");
}

std::string AddressText(const Entry& e) {
    return e.pref + e.city + e.town + (e.business ? e.street : std::string());
}

std::string ChoiceText(const Entry& e) {
    return e.office.empty() ? AddressText(e) : AddressText(e) + cp932::FromUtf8("　") + e.office;
}

std::string MismatchWarning(const CheckResult& r) {
    if (r.kind != CheckKind::Mismatch) return {};
    return cp932::FromUtf8("郵便番号と住所が一致しません（〒") + FormatCode(r.code) + " " + r.expected +
           cp932::FromUtf8("）");
}

std::string SeveralCodesWarning(const std::vector<std::string>& codes) {
    std::string list;
    for (std::size_t i = 0; i < codes.size() && i < 3; ++i)
        list += (i ? cp932::FromUtf8("、〒") : cp932::FromUtf8("〒")) + FormatCode(codes[i]);
    return cp932::FromUtf8("住所に合う郵便番号が複数あります（") + list +
           (codes.size() > 3 ? cp932::FromUtf8(" ほか）") : cp932::FromUtf8("）"));
}

std::string DataDateText(const Index& index) {
    const std::string label = cp932::FromUtf8("郵便番号データ");
    return index.DataDate().empty() ? label : label + " " + index.DataDate();
}

} // namespace postcode
