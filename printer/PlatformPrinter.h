#pragma once
// What the printer object needs from the platform's printing: the spooler's printer list, the current
// printer and its settings, paper and source lists, resolution, the document with its canvas, and raw
// jobs.
#include "printer/DeviceMode.h"
#include "printer/HqCanvas.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr std::uint32_t PRINTER_ATTRIBUTE_HIDDEN = 0x20;

struct PrinterRecord {
    std::string name; // CP932
    std::uint32_t attributes = 0;
};

// One paper size or paper source: the platform's number and the driver's name (CP932, uncut).
struct NumberedName {
    std::uint16_t number = 0;
    std::string name;
};

// The number of the entry that stands for the printer's own setting in a paper or source list: with it
// nothing is asked for, and whatever the printer is set to applies.
constexpr std::uint16_t kPrinterDefaultEntry = 0;

// The slip stock in use, in points: width across the feed, length along it; 0 x 0 for none.
struct SlipForm {
    double width = 0, length = 0;
    friend bool operator==(const SlipForm&, const SlipForm&) = default;
};

struct TPoint {
    int X = 0;
    int Y = 0;
};

// The page a document begins on: the paper and the printable area's top-left corner on it, in points
// from the paper's top-left.
struct PageGeometry {
    double width = 0, length = 0;
    double originX = 0, originY = 0;
};

class PlatformPrinter {
public:
    virtual ~PlatformPrinter() = default;

    // The spooler's printers in its order; a failure raises an exception.
    virtual std::vector<PrinterRecord> EnumPrinters() = 0;
    // The machine's printer ports, possibly with repeats.
    virtual std::vector<std::string> EnumPorts() = 0;

    // Current printer as a position in the platform's own list (hidden ones counted). While none has
    // been chosen the platform reports its default printer; -1 only when it has none at all.
    virtual int PrinterIndex() = 0;
    // -1 selects the default printer.
    virtual void SetPrinterIndex(int index) = 0;
    virtual std::string DeviceName() = 0;
    // Loads the current printer's default device settings.
    virtual void ResetDeviceMode() = 0;
    virtual DeviceMode GetDeviceMode() = 0;
    // The settings `device` starts with when it is chosen (what the setup dialog preselects).
    virtual DeviceMode DefaultDeviceMode(const std::string& device) = 0;
    // What the printer-setup dialog changes in the current device settings.
    virtual void SetPaperAndBin(std::int16_t paper, std::int16_t bin) = 0;
    // The slip stock the next documents are for. A printer that takes free sizes offers it among its
    // papers and starts with it; a change drops the paper and source chosen for the stock before.
    virtual void SetSlipForm(SlipForm form) = 0;

    // Paper sizes and sources the driver of `device` offers, in driver order; empty when it reports none.
    virtual std::vector<NumberedName> Papers(const std::string& device) = 0;
    virtual std::vector<NumberedName> Bins(const std::string& device) = 0;
    virtual TPoint Resolution() = 0;
    // The page BeginDoc would start with the current paper.
    virtual PageGeometry Page() = 0;

    virtual void SetTitle(const std::string& title) = 0;
    virtual void BeginDoc() = 0;
    virtual void EndDoc() = 0;
    virtual void Abort() = 0;
    virtual HqCanvas& Canvas() = 0;
    // One job of bytes in the printer's own language, titled as SetTitle said, handed past the driver
    // unchanged to the current printer. Not while a document is open.
    virtual void SendRaw(const std::string& bytes) = 0;

    // Why the last printer list had no printer to offer, as a line for the user (CP932); empty when
    // nothing more is known.
    virtual std::string NoPrinterCause() { return {}; }

    // Forgets the printer list and the current choice; the next call reads them afresh.
    virtual void Discard() = 0;
    // The next calls read the drivers' lists and defaults afresh; the current choices stay.
    virtual void Reload() = 0;
};
