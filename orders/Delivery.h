#pragma once
// The delivery day and time slot a customer asked for, as order files write them: columns such as
// お届け日指定 and お届け時間帯 in every spelling of dates and slots, or a note such as 午前中着希望. The
// clerk marks the slip's boxes from them, so they are carried to the order list, the print question and
// the history.
#include <string>
#include <string_view>

namespace orders {

struct Delivery {
    std::string date; // "yyyy-MM-dd", or "MM-dd" without a year; empty when none was asked for
    std::string time; // "午前中", "14-16時" ..., or the file's own words for a slot not known here
    bool operator==(const Delivery&) const = default;
    bool Empty() const { return date.empty() && time.empty(); }
};

// A day from a date column: 2024-12-10, 2024/12/10 (火), 2024年12月10日, 20241210, 12/10, 12月10日.
// Words that mean "none" (指定なし, 設定なし, -) give "". nullopt-like: an unreadable text is returned
// as it stands with `readable` false.
std::string DeliveryDate(std::string_view text, bool& readable);

// A slot from a time column: 午前中, 14-16, 14:00～16:00, 14時-16時, 1416 (the carriers' codes; 0812 is
// 午前中). Words that mean "none" give ""; other text is kept as written.
std::string DeliveryTime(std::string_view text);

// What a free-text note asks for: a slot (午前中, 14-16時) or a day (12月10日, 12/10) next to a word of
// asking (着, 希望, 指定, 届). Empty when the note asks for neither.
Delivery DeliveryFromNote(std::string_view note);

// "お届け日指定: 12/10 14-16時" for the print question; "" when nothing was asked for.
std::string DeliveryText(const Delivery& delivery);

// "12/10 14-16時" for the order list.
std::string DeliveryShort(const Delivery& delivery);

} // namespace orders
