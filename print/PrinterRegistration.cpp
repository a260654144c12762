#include "print/PrinterRegistration.h"

#include "platform/ProfileFile.h"

namespace {

PrinterRegistration ReadSection(const ProfileFile& file, const std::string& slipType) {
    PrinterRegistration r;
    r.printerIndex = file.ReadString(slipType, "PrnNoIndex", "0");
    r.top = file.ReadString(slipType, "tavPrn_Top", "0");
    r.left = file.ReadString(slipType, "tavPrn_Left", "0");
    return r;
}

} // namespace

PrinterRegistration ReadPrinterRegistration(const std::string& path, const std::string& slipType) {
    return ReadSection(ProfileFile(path), slipType);
}

std::optional<PrinterRegistration> FindPrinterRegistration(const std::string& path,
                                                           const std::string& slipType) {
    ProfileFile file(path);
    // A line break never ends up in a value, so it marks a key that is not there.
    constexpr const char* kAbsent = "\n";
    if (file.ReadString(slipType, "PrnNoIndex", kAbsent) == kAbsent) return std::nullopt;
    PrinterRegistration r = ReadSection(file, slipType);
    r.printerName = file.ReadString(slipType, "PrnName", "");
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
