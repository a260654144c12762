#include "app/qt/orders/HistoryPrintedRecord.h"

#include "app/qt/common/SlipDesk.h"
#include "history/HistoryRecorder.h"
#include "history/HistoryStore.h"
#include "platform/Cp932Codec.h"
#include "platform/qt/LogCategories.h"
#include "platform/qt/QtText.h"

#include <unordered_map>

std::optional<std::unordered_set<std::string>>
HistoryPrintedRecord::PrintedAmong(const std::vector<std::string>& refs) {
    std::vector<std::string> cp932;
    std::unordered_map<std::string, std::vector<const std::string*>> back; // CP932 -> the references
    cp932.reserve(refs.size());
    for (const std::string& r : refs) {
        cp932.push_back(cp932::FromUtf8(r));
        back[cp932.back()].push_back(&r);
    }
    try {
        std::unordered_set<std::string> printed;
        for (const std::string& p : desk_.HistoryRecorder().OpenStore().PrintedOrders(cp932))
            for (const std::string* r : back[p])
                printed.insert(*r);
        return printed;
    } catch (const history::EHistoryStore& e) {
        qCDebug(lcHistory) << "orders not looked up in the history:" << FromCp932(e.Message());
        return std::nullopt;
    }
}
