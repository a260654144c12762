#include "queue/StorePrintedRecord.h"

#include "platform/Cp932Codec.h"

#include <unordered_map>

namespace queue {

std::optional<std::unordered_set<std::string>>
StorePrintedRecord::PrintedAmong(const std::vector<std::string>& refs) {
    std::vector<std::string> cp932;
    std::unordered_map<std::string, std::vector<const std::string*>> back; // CP932 -> the references
    cp932.reserve(refs.size());
    for (const std::string& r : refs) {
        cp932.push_back(cp932::FromUtf8(r));
        back[cp932.back()].push_back(&r);
    }
    try {
        std::unordered_set<std::string> printed;
        for (const std::string& p : store_().PrintedOrders(cp932))
            for (const std::string* r : back[p])
                printed.insert(*r);
        return printed;
    } catch (const history::EHistoryStore& e) {
        if (unreachable_) unreachable_(e.Message());
        return std::nullopt;
    }
}

} // namespace queue
