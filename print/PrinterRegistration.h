#pragma once
// The registration file tavo_a500.ini: per slip type, the printer to use, how the slip reaches it and
// the print-position margins.
#include "printer/HqPrinterErrors.h"
#include "printer/PrintMode.h"

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
    // A printer is registered (PrnNoIndex is there). Without one the slip type is printed nowhere, and
    // writing its section stores the margins only.
    bool registered = true;
    // PrintMode=graphics|text; anything else, or no key, is graphics.
    PrintMode mode = PrintMode::Graphics;
};

inline constexpr const char* kRegistrationFileName = "tavo_a500.ini";

// The registration file in the folder `dir` (a file-system path).
std::string RegistrationFilePath(const std::string& dir);

// The section named by the slip type's text; "0" for every missing key, "" for a missing name.
// `registered` says whether the printer keys were there.
PrinterRegistration ReadPrinterRegistration(const std::string& path, const std::string& slipType);

// The section as stored, the printer's name included (for messages only); nullopt when the file
// registers no printer for the slip type.
std::optional<PrinterRegistration> FindPrinterRegistration(const std::string& path,
                                                           const std::string& slipType);

// Writes the four keys in their order (the two margins only, when nothing is registered), then the print
// mode where it is text or the section names one already, as one replacement of the file: on failure
// (EInOutError) none of them is written. A section that never chose a mode stays as older versions
// wrote it.
void WritePrinterRegistration(const std::string& path, const std::string& slipType,
                              const PrinterRegistration& r);

// The printer a slip is meant for is not there to take it: no printer has the name, or it refuses jobs.
class EHqPrinterNotThere : public EHqPrinter {
public:
    using EHqPrinter::EHqPrinter;
};

// What the window says of a slip type without a registered printer, on its printer display and at F11.
std::string NotRegisteredText();

// A slip is to be printed for a slip type without a registered printer.
class EHqPrinterNotRegistered : public EHqPrinterNotThere {
public:
    EHqPrinterNotRegistered() : EHqPrinterNotThere(NotRegisteredText()) {}
};

// The visible index of the printer called `name` in `printer`'s list. EHqPrinterNotThere, with
// "登録されたプリンタ「NAME」が見つかりません" or "...は印刷を受け付けていません", when it cannot be used.
int NamedPrinterIndex(const THqPrinter& printer, const std::string& name);
