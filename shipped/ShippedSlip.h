#pragma once
// One printed slip as the shipped files need it: what the history keeps of it, filled by the history's
// glue. Texts are CP932.
#include <cstdint>
#include <map>
#include <string>

namespace shipped {

struct ShippedSlip {
    std::string order;    // the order reference; empty for a slip typed by hand
    std::string platform; // as the order import names it: "rakuten", "amazon", "yahoo", "shopify",
                          // "colorme", "futureshop" or "other" (empty counts as "other")
    // The platform's IDs kept with the order, by the names the import keeps them under ("送付先ID",
    // "商品明細ID", "order-item-id").
    std::map<std::string, std::string> refs;
    std::string tracking;       // the slip number as stored; empty when none was given
    bool isVoid = false;        // spoiled (書き損じ) or skipped: no parcel left with it
    std::string shipDay;        // "yyyy-MM-dd"
    std::string consignee;      // お届け先名
    std::int64_t printedUtc{0}; // when it was printed, seconds since 1970 (UTC): the order of the slips
    std::int64_t record{0};     // the history's number of the slip, for reports; 0 when none
};

} // namespace shipped
