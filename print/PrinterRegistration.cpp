#include "print/PrinterRegistration.h"

#include "platform/ProfileFile.h"

PrinterRegistration ReadPrinterRegistration(const std::string& path, const std::string& slipType) {
    ProfileFile file(path);
    PrinterRegistration r;
    r.printerIndex = file.ReadString(slipType, "PrnNoIndex", "0");
    r.top = file.ReadString(slipType, "tavPrn_Top", "0");
    r.left = file.ReadString(slipType, "tavPrn_Left", "0");
    return r;
}

void WritePrinterRegistration(const std::string& path, const std::string& slipType,
                              const PrinterRegistration& r) {
    ProfileFile file(path);
    file.WriteString(slipType, "PrnName", r.printerName);
    file.WriteString(slipType, "PrnNoIndex", r.printerIndex);
    file.WriteString(slipType, "tavPrn_Top", r.top);
    file.WriteString(slipType, "tavPrn_Left", r.left);
    file.Save();
}
