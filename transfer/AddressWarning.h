#pragma once
// The address-length warning beside the postcode: a first address line too long for the slip.
#include <string>
#include <string_view>

// Bytes of the first address line that fit on the slip.
inline constexpr std::size_t kAddress1MaxBytes = 40;

// "警告:おところ①の文字数が多すぎます。　おところ②へ分割してください" in CP932.
extern const std::string_view kAddressWarningText;

// The warning label's text for this first address line: the warning when it is longer than 40
// bytes, else empty.
std::string AddressWarning(std::string_view add1);
