#include "app/qt/common/ErrorBox.h"

#include "app/qt/common/MessageBoxes.h"
#include "platform/RuntimeErrors.h"
#include "platform/qt/QtText.h"
#include "printer/HqPrinterErrors.h"

#include <QString>

void ReportHandlerError(std::exception_ptr error) {
    QString text;
    try {
        std::rethrow_exception(error);
    } catch (const EHqPrinter& e) {
        // The design's message first; what the user can do about it on the line below.
        text = FromCp932(e.Message());
        if (!e.Cause().empty()) text += QLatin1Char('\n') + FromCp932(e.Cause());
    } catch (const Exception& e) {
        text = FromCp932(e.Message()); // our own messages are CP932
    } catch (const std::exception& e) {
        text = QString::fromLocal8Bit(e.what());
    } catch (...) {
        text = QStringLiteral("Unknown error");
    }
    try {
        msgbox::ShowError(text);
    } catch (...) {
        // Showing the box itself failed (out of memory): nothing more can be reported.
    }
}
