#pragma once
// The platform printer over the CUPS scheduler: its destinations, their PPDs, and one-page PDF jobs.
#include "printer/PlatformPrinter.h"
#include "printer/qt/CupsQueue.h"
#include "printer/qt/PdfCanvas.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

class CupsPrinter : public PlatformPrinter {
public:
    std::vector<PrinterRecord> EnumPrinters() override;
    std::vector<std::string> EnumPorts() override;
    int PrinterIndex() override;
    void SetPrinterIndex(int index) override;
    std::string DeviceName() override;
    void ResetDeviceMode() override;
    DeviceMode GetDeviceMode() override;
    DeviceMode DefaultDeviceMode(const std::string& device) override;
    void SetPaperAndBin(std::int16_t paper, std::int16_t bin) override;
    std::vector<NumberedName> Papers(const std::string& device) override;
    std::vector<NumberedName> Bins(const std::string& device) override;
    TPoint Resolution() override;
    PageGeometry Page() override;
    void SetTitle(const std::string& title) override { title_ = title; }
    void BeginDoc() override;
    void EndDoc() override;
    void Abort() override;
    HqCanvas& Canvas() override { return canvas_; }
    void Discard() override;
    void Reload() override;

private:
    struct Destination {
        std::string name; // UTF-8, as the scheduler spells it
        bool accepting = true;
        bool isDefault = false;
        std::string deviceUri;
    };
    static std::vector<Destination> ReadDestinations();
    const std::vector<Destination>& List();
    const CupsQueue& Queue(const std::string& utf8Name);
    const CupsQueue& CurrentQueue();
    void KeepChoice();
    static DeviceMode ModeOf(const CupsQueue& queue, std::optional<int> paper, std::optional<int> source);

    std::optional<std::vector<Destination>> list_; // the list the current index counts in
    std::map<std::string, CupsQueue> queues_;
    int chosen_ = -1;          // position in list_; -1: the default destination
    std::optional<int> paper_; // positions in the current queue's lists; empty: none
    std::optional<int> source_;
    bool settingsLoaded_ = false;
    struct Kept {
        std::string queue, paper, source; // the choice in force when the list was discarded
    };
    std::optional<Kept> kept_;
    std::string title_;
    PdfCanvas canvas_;
};
