#pragma once
// The registration file tavo_a500.ini: per slip type, the printer to use and the print-position margins.
#include "printer/HqPrinterErrors.h"
#include <optional>

#include <string>

class THqPrinter;

struct PrinterRegistration {
    // The registered printer's name; when present it, not the index, says which printer is meant.
    std::string printerName;
    // Where that printer stood among the visible ones at registration; older readers go by it.
    std::string printerIndex = "0";
    std::string top = "0";
    std::string left = "0";
};

inline constexpr const char* kRegistrationFileName = "tavo_a500.ini";

// The registration file in the folder `dir` (a file-system path).
std::string RegistrationFilePath(const std::string& dir);

// The section named by the slip type's text; "0" for every missing key, "" for a missing name.
PrinterRegistration ReadPrinterRegistration(const std::string& path, const std::string& slipType);

// The section as stored, the printer's name included (for messages only); nullopt when the file
// registers no printer for the slip type.
std::optional<PrinterRegistration> FindPrinterRegistration(const std::string& path,
                                                           const std::string& slipType);

// Writes the four keys in their order as one replacement of the file: on failure (EInOutError) none
// of them is written.
void WritePrinterRegistration(const std::string& path, const std::string& slipType,
                              const PrinterRegistration& r);

// The printer a slip is meant for is not there to take it: no printer has the name, or it refuses jobs.
class EHqPrinterNotThere : public EHqPrinter {
public:
    using EHqPrinter::EHqPrinter;
};

// The visible index of the printer called `name` in `printer`'s list. EHqPrinterNotThere, with
// "登録されたプリンタ「NAME」が見つかりません" or "...は印刷を受け付けていません", when it cannot be used.
int NamedPrinterIndex(const THqPrinter& printer, const std::string& name);
