#pragma once
// The printer object's failures: one class per kind under EHqPrinter, each with its fixed message.
#include "platform/RuntimeErrors.h"

class EHqPrinter : public Exception {
public:
    using Exception::Exception;
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
