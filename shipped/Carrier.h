#pragma once
// The carrier whose slips the shop prints, a setting of the settings file:
//   [History]
//   Carrier=sagawa        (sagawa, yamato or japanpost; sagawa when missing or empty)
// Each shipped file's format maps it to its platform's own code (ShippedFormats.h).
#include "platform/RuntimeErrors.h"

#include <cstddef>
#include <optional>
#include <string_view>

class ProfileFile;

namespace shipped {

enum class Carrier { Sagawa, Yamato, JapanPost };
inline constexpr std::size_t kCarrierCount = 3;

inline constexpr std::string_view kCarrierSection = "History";
inline constexpr std::string_view kCarrierKey = "Carrier";

// "sagawa", "yamato", "japanpost".
std::string_view CarrierName(Carrier carrier);

// The carrier of that name, ASCII case ignored and blanks around it; nullopt for any other text.
std::optional<Carrier> CarrierFromName(std::string_view name);

class ECarrierSetting : public Exception {
public:
    using Exception::Exception;
};

// The setting; ECarrierSetting (naming the value and the three names) when it names no carrier we know,
// so that no file goes out with another carrier's code.
Carrier CarrierFromSettings(const ProfileFile& settings);

} // namespace shipped
