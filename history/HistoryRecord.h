#pragma once
// One printed slip as the history keeps it: where and how it was printed and every value as it went
// onto the paper, under the main window's field names. Texts are CP932, like everywhere in the rules;
// the store converts them to UTF-8 at its own boundary. Loading a record back into the window sets
// every field of its slip (the sender as printed, not the current tab).
#include "slip/SlipRecord.h"

#include <cstdint>
#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace history {

// The order of the shared queue a slip was printed for (history/QueueStore.h): storing the slip marks
// the order printed in the same transaction, also when the record waited in the pending file.
struct QueueMark {
    std::int64_t order = 0; // the order's id in the queue; 0: none
    std::string desk;       // the desk that printed it (CP932)
    bool operator==(const QueueMark&) const = default;
};

// The shop platform's IDs kept with an order (送付先ID, 商品明細ID, order-item-id ...), by the names the
// order import keeps them under; CP932 like the record's other texts.
using Refs = std::map<std::string, std::string>;

// The delivery day and time slot the customer asked for, as the order import reads them (CP932): the day
// "yyyy-MM-dd" or "MM-dd", the slot "午前中", "14-16時" ... or the file's own words; empty when none.
struct DeliveryRequest {
    std::string day, time;
    bool operator==(const DeliveryRequest&) const = default;
};

// The order a slip is printed from, as the history keeps it with the slip (CP932).
struct OrderLink {
    std::string ref;          // the order reference; empty when the file has none
    std::string platform;     // as the order import names it: "rakuten", "amazon" ... "other"
    Refs refs;                // the platform's IDs kept with the order
    DeliveryRequest delivery; // what the customer asked for
    bool operator==(const OrderLink&) const = default;
};

struct HistoryRecord {
    std::int64_t id = 0; // given by the store; 0 before
    std::string uuid;    // given once when the slip is printed; makes every retry of the insert idempotent
    std::string time;    // "yyyy-MM-ddTHH:mm:ss+hh:mm", the desk's local time with its offset
    std::string printer; // CUPS queue name
    std::int32_t resolutionX = 0, resolutionY = 0; // effective resolution the slip was drawn at
    std::int32_t marginTop = 0, marginLeft = 0;    // print-position margins in dots
    slip::Record values;                           // as the main window held them at EndDoc
    std::string tracking;                          // carrier's slip number; empty when none
    std::string order;                             // order reference of an imported order; empty when none
    std::string platform;                          // the order's shop platform as the import names it
                                                   // ("rakuten", "amazon" ...); empty when none
    Refs refs;                                     // the platform's IDs kept with the order
    DeliveryRequest delivery;                      // the day and slot the order asked for
    // The fields of the order (slip::kOrder) the clerk changed before printing, by their design names in
    // the order of slip::kFields; empty when none or not from an order.
    std::vector<std::string> changed;
    bool isVoid = false; // spoiled (書き損じ) or skipped in the stack: no parcel left with this slip
    std::optional<std::int64_t> reprintOf; // id of the first printing when this is a reprint
    QueueMark queue;                       // the queue's order it was printed for, if any

    bool operator==(const HistoryRecord&) const = default;
};

// The refs as one JSON object of strings in UTF-8, names in order ({"送付先ID":"1001"}): how the store
// and the pending file keep them. "" for none.
std::string RefsToJson(const Refs& refs);
// Back from RefsToJson's text ("" gives none); nullopt for a text that is no JSON object of strings.
std::optional<Refs> RefsFromJson(std::string_view utf8);

// The changed fields as the store and the pending file keep them: "Edit_Custo1,Edit_tel", "" for none.
std::string JoinFieldNames(const std::vector<std::string>& names);
std::vector<std::string> SplitFieldNames(std::string_view joined);

// A fresh random (version 4) UUID in its 36-character text form.
std::string NewUuid();

// `t` as the local time with its UTC offset: "2024-05-01T09:30:00+09:00".
std::string LocalTimestamp(std::time_t t);

// What the store derives from a timestamp: seconds since the epoch (for ordering across desks in
// different zones) and the local day "yyyy-MM-dd" (for day ranges). nullopt for any other shape.
struct ParsedTime {
    std::int64_t utcSeconds;
    std::string localDay;
};
std::optional<ParsedTime> ParseTimestamp(std::string_view iso);

// "yyyy/MM/dd" or "yyyy-MM-dd" with a real month and day as "yyyy-MM-dd"; nullopt otherwise.
std::optional<std::string> NormalizeDay(std::string_view text);

// The day the slip ships: the date printed on it, or the day of printing when it carried no date.
std::string ShipDay(const HistoryRecord& r, const std::string& printedDay);

// Only the ASCII digits of `text` (the key by which phone numbers and postcodes are searched).
std::string DigitsOf(std::string_view text);

} // namespace history
