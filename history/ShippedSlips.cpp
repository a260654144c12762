#include "history/ShippedSlips.h"

#include <map>

namespace history {

std::vector<shipped::ShippedSlip> ShippedSlips(Store& store, const std::string& from, const std::string& to) {
    std::vector<shipped::ShippedSlip> out;
    std::map<std::int64_t, std::size_t> parcel; // first printing's id -> its slip in `out`
    for (HistoryRecord& r : store.ByShipDay(from, to)) {
        const auto printed = ParseTimestamp(r.time); // the store took only well-formed times
        shipped::ShippedSlip slip{std::move(r.order),
                                  std::move(r.platform),
                                  std::move(r.refs),
                                  std::move(r.tracking),
                                  r.isVoid,
                                  ShipDay(r, printed ? printed->localDay : ""),
                                  std::move(r.values.Edit_Custo1),
                                  printed ? printed->utcSeconds : 0,
                                  r.id};
        if (slip.isVoid) {
            out.push_back(std::move(slip));
            continue;
        }
        // Records come oldest first: a newer one stands for the parcel unless only the older has a number.
        auto [it, first] = parcel.emplace(r.reprintOf.value_or(r.id), out.size());
        if (first)
            out.push_back(std::move(slip));
        else if (!slip.tracking.empty() || out[it->second].tracking.empty())
            out[it->second] = std::move(slip);
    }
    return out;
}

} // namespace history
