#include "app/qt/orders/HistoryPrintedRecord.h"

#include "app/qt/common/SlipDesk.h"
#include "history/HistoryRecorder.h"
#include "platform/qt/LogCategories.h"
#include "platform/qt/QtText.h"

HistoryPrintedRecord::HistoryPrintedRecord(SlipDesk& desk)
    : record_([&desk]() -> history::Store& { return desk.HistoryRecorder().OpenStore(); },
              [](const std::string& why) {
                  qCDebug(lcHistory) << "orders not looked up in the history:" << FromCp932(why);
              }) {}
