#pragma once
// The shop platforms whose order files the import knows by name. Each is one entry of a table: the
// headers that tell its file, the columns it fills, and the platform IDs an upload back to the shop
// refers to (docs/order-files.md cites each platform's documentation). Any other file is "other" and
// is read by the header vocabulary alone (OrderColumns.h).
#include "orders/OrderColumns.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orders {

enum class Platform { Other, Rakuten, Amazon, Yahoo, Shopify, ColorMe, FutureShop };

// "rakuten", "amazon", "yahoo", "shopify", "colorme", "futureshop", "other".
std::string_view PlatformName(Platform platform);

struct PlatformColumn {
    std::string_view header; // as the platform writes it; compared as the vocabulary compares headers
    OrderColumn column;      // several entries of one column are alternatives, the first present wins
};

struct PlatformRef {
    std::string_view header;
    std::string_view key; // the name the ID is kept under (the header itself)
};

struct PlatformFormat {
    Platform platform;
    // Every header of one of these sets present: the file is this platform's.
    std::span<const std::span<const std::string_view>> signatures;
    std::span<const PlatformColumn> columns;
    std::span<const PlatformRef> refs;
    // The column that tells one shipping address of an order from another, where the platform has one.
    std::span<const std::string_view> destination;
};

// Every platform the import knows, in the order they are tried.
std::span<const PlatformFormat> PlatformFormats();

// The platform whose file has this header row; Other when none matches.
Platform RecognisePlatform(const std::vector<std::string>& header);

// The table entry of a platform; nullptr for Other.
const PlatformFormat* FormatOf(Platform platform);

} // namespace orders
