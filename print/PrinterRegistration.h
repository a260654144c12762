#pragma once
// The registration file tavo_a500.ini: per slip type, the printer to use and the print-position margins.
#include <optional>
#include <string>

struct PrinterRegistration {
    std::string printerName; // written for the user's information, never read back
    std::string printerIndex = "0";
    std::string top = "0";
    std::string left = "0";
};

inline constexpr const char* kRegistrationFileName = "tavo_a500.ini";

// The section named by the slip type's text; "0" for every missing key.
PrinterRegistration ReadPrinterRegistration(const std::string& path, const std::string& slipType);

// The section as stored, the printer's name included (for messages only); nullopt when the file
// registers no printer for the slip type.
std::optional<PrinterRegistration> FindPrinterRegistration(const std::string& path,
                                                           const std::string& slipType);

// Writes the four keys in their order as one replacement of the file: on failure (EInOutError) none
// of them is written.
void WritePrinterRegistration(const std::string& path, const std::string& slipType,
                              const PrinterRegistration& r);
