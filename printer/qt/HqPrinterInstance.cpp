#include "printer/qt/HqPrinterInstance.h"

#include "printer/qt/CupsPrinter.h"

#include <QGuiApplication>

THqPrinterInstance::THqPrinterInstance()
    : printer_(std::make_unique<THqPrinter>(std::make_unique<CupsPrinter>())) {
    SetHqPrinter(printer_.get());
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
            if (state == Qt::ApplicationActive) printer_->SettingsChanged();
        });
    }
}

THqPrinterInstance::~THqPrinterInstance() {
    SetHqPrinter(nullptr);
}
