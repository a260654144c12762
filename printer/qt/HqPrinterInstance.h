#pragma once
// Owns the program's one printer object over the CUPS scheduler for as long as it lives, and keeps
// its printer list current: a fresh look each time the application becomes active again.
#include "printer/HqPrinter.h"

#include <QObject>

#include <memory>

class THqPrinterInstance : public QObject {
    Q_OBJECT
public:
    THqPrinterInstance();
    ~THqPrinterInstance() override;

private:
    std::unique_ptr<THqPrinter> printer_;
};
