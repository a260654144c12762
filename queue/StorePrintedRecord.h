#pragma once
// The history as the order queue's record of earlier prints (orders::PrintedRecord): the references of
// a whole import asked in one go (history::Store::PrintedOrders), the texts crossing from the orders'
// UTF-8 to the store's CP932.
#include "history/HistoryStore.h"
#include "orders/OrderQueue.h"

#include <functional>
#include <string>

namespace queue {

class StorePrintedRecord final : public orders::PrintedRecord {
public:
    // `store` opens the store (or gives the one open); `unreachable` hears why it could not be asked.
    StorePrintedRecord(std::function<history::Store&()> store,
                       std::function<void(const std::string& cp932)> unreachable = {})
        : store_(std::move(store)), unreachable_(std::move(unreachable)) {}
    // nullopt when the history cannot be opened or asked: the queue then knows this session's prints.
    std::optional<std::unordered_set<std::string>>
    PrintedAmong(const std::vector<std::string>& refs) override;

private:
    std::function<history::Store&()> store_;
    std::function<void(const std::string&)> unreachable_;
};

} // namespace queue
