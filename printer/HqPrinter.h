#pragma once
// THqPrinter: the one printer object. It counts visible printers only, caches the current printer's
// paper and source lists and device settings, and raises typed errors with fixed messages.
#include "printer/HqAllPrintersInfo.h"
#include "printer/HqPrinterErrors.h"
#include "printer/PlatformPrinter.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Where a printer looked up by name stands in the snapshot of the spooler's list.
struct PrinterPlace {
    enum Kind { Visible, Hidden, Missing };
    Kind kind = Missing;
    int index = -1; // among the visible printers, when Visible
};

// What the printer-choice dialog offers for one printer: its papers and sources (names as the driver
// gives them) and which of them are preselected, -1 where none matches.
struct PrinterChoice {
    std::vector<NumberedName> papers;
    std::vector<NumberedName> bins;
    int paperIndex = -1;
    int binIndex = -1;
};

class THqPrinter {
public:
    explicit THqPrinter(std::unique_ptr<PlatformPrinter> platform);
    THqPrinter(const THqPrinter&) = delete;
    THqPrinter& operator=(const THqPrinter&) = delete;

    void CheckNoPrinter();
    const std::vector<std::string>& GetPrinterNames();
    int GetIndex();
    void SetIndex(int index);
    int GetPaperSizeNumber();
    const std::vector<std::string>& GetPaperSizeNames();
    int GetPaperSizeIndex();
    int GetBinNumber();
    const std::vector<std::string>& GetBinNames();
    int GetBinIndex();
    std::uint32_t GetSupportedFields();
    void GetResolution(TPoint& point);
    std::int16_t GetScale();
    // The paper and printable area the next document would have.
    PageGeometry GetPageGeometry();
    HqCanvas& GetCanvas();
    void BeginDoc(const std::string& title);
    void EndDoc();
    void Abort();
    // A text-mode slip: `bytes` go to the current printer as one job, past its driver, with no page,
    // paper or source asked for. Raises the errors EndDoc raises, named "THqPrinter.PrintRaw".
    void PrintRaw(const std::string& title, const std::string& bytes);
    void Refresh();
    const std::vector<std::string>& GetPortNames();

    // The printer called `name` (as GetPrinterNames spells it; ASCII letters match without regard to
    // case, as queue names do). Hidden: it exists but is not offered (a queue that refuses jobs).
    PrinterPlace FindPrinter(std::string_view name) const;

    // The change watch: the platform's settings may have changed (printers added or removed).
    void SettingsChanged();

    // Called after the watch has seen a change. Design name kept; no behaviour depends on it.
    std::function<void(THqPrinter&)> OnChange;

    // The choice dialog's view of the index-th visible printer: the current printer preselects the
    // paper and source in force, any other its defaults; matched as GetPaperSizeIndex and GetBinIndex do.
    PrinterChoice ChoiceFor(int index);
    // Makes the index-th visible printer current with the given paper and source numbers (nullopt keeps
    // what is in force), then reads its driver afresh.
    void Choose(int index, std::optional<std::uint16_t> paper, std::optional<std::uint16_t> bin);
    // The slip stock the next documents are for (PlatformPrinter::SetSlipForm); the lists and settings
    // are read afresh when it changes.
    void SetSlipForm(SlipForm form);
    // The numbers behind the names GetPaperSizeNames and GetBinNames returned last.
    const std::vector<std::uint16_t>& PaperNumbers() const { return paperNumbers_; }
    const std::vector<std::uint16_t>& BinNumbers() const { return binNumbers_; }

private:
    void CheckSupported(unsigned field, const char* message);
    void FetchDeviceMode();
    void EnsureDeviceMode();
    void ClearDeviceMode() { deviceMode_.reset(); }
    void LoadPaperSizes();
    void LoadBins();
    void UpdateCapabilities();

    std::unique_ptr<PlatformPrinter> platform_;
    std::unique_ptr<THqAllPrintersInfo> printersInfo_;
    std::vector<std::uint16_t> paperNumbers_;
    std::vector<std::string> paperNames_;
    std::vector<std::uint16_t> binNumbers_;
    std::vector<std::string> binNames_;
    std::vector<std::string> printerNames_;
    std::vector<std::string> portNames_;
    int cachedIndex_ = -1;
    std::uint8_t capabilities_ = 0; // 1 = paper lists loaded, 2 = bin lists loaded
    std::optional<DeviceMode> deviceMode_;
    SlipForm slipForm_;
};

// The program's one printer object, set up before the main window and torn down at exit.
THqPrinter& HqPrinter();
// Installs (or, with nullptr, removes) the object HqPrinter() returns.
void SetHqPrinter(THqPrinter* printer);
// Installs an object that is still being made: the first HqPrinter() call gets it from `finish`, which
// may wait for it. SetHqPrinter(nullptr) removes it too.
void SetPendingHqPrinter(std::function<THqPrinter&()> finish);
