#pragma once
// The printer object's failures: one class per kind under EHqPrinter, each with its fixed message and,
// where it is known, a second line for the user: the queue and the likely cause (CP932).
#include "platform/RuntimeErrors.h"

#include <string>

class EHqPrinter : public Exception {
public:
    explicit EHqPrinter(std::string message, std::string cause = {})
        : Exception(std::move(message)), cause_(std::move(cause)) {}
    const std::string& Cause() const { return cause_; }

private:
    std::string cause_;
};

// The scheduler did not answer within its time.
class EHqPrinterNoAnswer : public EHqPrinter {
public:
    using EHqPrinter::EHqPrinter;
};

// No visible printer exists.
class EHqPrinterNoPrinter : public EHqPrinter {
public:
    using EHqPrinter::EHqPrinter;
};

// The platform's current printer is a hidden one.
class EHqPrinterIllegalIndex : public EHqPrinter {
public:
    using EHqPrinter::EHqPrinter;
};

// SetIndex got an index outside -1..(visible count - 1).
class EHQPrinterRangeError : public EHqPrinter {
public:
    using EHqPrinter::EHqPrinter;
};

// The driver does not support the device-setting field asked for.
class EHqPrinterNotSupported : public EHqPrinter {
public:
    using EHqPrinter::EHqPrinter;
};

// The driver reports no paper or no bin list.
class EHqPrinterNoInfo : public EHqPrinter {
public:
    using EHqPrinter::EHqPrinter;
};

// The current paper number is not in the paper list.
class EHQPrinterPaperSizeError : public EHqPrinter {
public:
    using EHqPrinter::EHqPrinter;
};

// The current bin number is not in the bin list.
class EHqPrinterBinError : public EHqPrinter {
public:
    using EHqPrinter::EHqPrinter;
};
