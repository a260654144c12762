#pragma once
// One snapshot of the spooler's printer list, kept to notice when printers come or go.
#include "printer/PlatformPrinter.h"

#include <cstdint>
#include <string>
#include <vector>

class THqAllPrintersInfo {
public:
    explicit THqAllPrintersInfo(PlatformPrinter& platform) : records_(platform.EnumPrinters()) {}
    explicit THqAllPrintersInfo(std::vector<PrinterRecord> records) : records_(std::move(records)) {}

    int Count() const { return static_cast<int>(records_.size()); }
    const std::string& GetName(int i) const { return records_[i].name; }
    std::uint32_t GetAttributes(int i) const { return records_[i].attributes; }
    bool IsHidden(int i) const { return (records_[i].attributes & PRINTER_ATTRIBUTE_HIDDEN) != 0; }

    // Same count, and at every position the same name (exact bytes) and the same attributes.
    bool IsSame(const THqAllPrintersInfo& other) const;

private:
    std::vector<PrinterRecord> records_;
};
