#include "app/qt/orders/HistoryPrintedRecord.h"

#include "app/qt/common/SlipDesk.h"
#include "app/qt/common/StoreAsker.h"
#include "platform/qt/LogCategories.h"
#include "platform/qt/QtText.h"
#include "queue/StorePrintedRecord.h"

std::optional<std::unordered_set<std::string>>
HistoryPrintedRecord::PrintedAmong(const std::vector<std::string>& refs) {
    std::optional<std::unordered_set<std::string>> printed;
    try {
        desk_.HistoryAsker().Ask([&](history::Store& store) {
            // The store's failure goes on to the asker (rethrown from inside the record's handler), so
            // that a connection found dead is dropped and the next question connects afresh.
            queue::StorePrintedRecord record([&store]() -> history::Store& { return store; },
                                             [](const std::string&) { throw; });
            printed = record.PrintedAmong(refs);
        });
    } catch (const history::EHistoryStore& e) {
        qCDebug(lcHistory) << "orders not looked up in the history:" << FromCp932(e.Message());
    }
    return printed;
}
