#include "shipped/Carrier.h"

#include "platform/Cp932.h"
#include "platform/Cp932Codec.h"
#include "platform/ProfileFile.h"

#include <array>

namespace shipped {
namespace {

constexpr std::array<std::string_view, kCarrierCount> kNames = {"sagawa", "yamato", "japanpost"};

} // namespace

std::string_view CarrierName(Carrier carrier) {
    return kNames[static_cast<std::size_t>(carrier)];
}

std::optional<Carrier> CarrierFromName(std::string_view name) {
    const std::string trimmed = cp932::PlainTrim(name);
    for (std::size_t i = 0; i < kNames.size(); ++i)
        if (cp932::EqualsIgnoreAsciiCase(trimmed, kNames[i])) return static_cast<Carrier>(i);
    return std::nullopt;
}

Carrier CarrierFromSettings(const ProfileFile& settings) {
    const std::string value = settings.ReadString(kCarrierSection, kCarrierKey, "");
    if (cp932::PlainTrim(value).empty()) return Carrier::Sagawa;
    if (auto carrier = CarrierFromName(value)) return *carrier;
    throw ECarrierSetting(
        cp932::FromUtf8("設定ファイルの [History] Carrier=") + value +
        cp932::FromUtf8(" は配送業者の名前ではありません（sagawa、yamato、japanpost のどれか）"));
}

} // namespace shipped
