#include "platform/qt/LogCategories.h"

#include "platform/RuntimeErrors.h"
#include "platform/qt/QtText.h"

Q_LOGGING_CATEGORY(lcPrinter, "zaridi.printer", QtWarningMsg)
Q_LOGGING_CATEGORY(lcHistory, "zaridi.history", QtWarningMsg)
Q_LOGGING_CATEGORY(lcOrders, "zaridi.orders", QtWarningMsg)
Q_LOGGING_CATEGORY(lcStartUp, "zaridi.startup", QtWarningMsg)

QString LoggedError(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        return FromCp932(e.Message());
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("unknown error");
    }
}
