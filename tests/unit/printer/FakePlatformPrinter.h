#pragma once
// A scripted platform printer for tests of the printer object's own logic: the test sets the printers,
// their settings and lists, and reads back what the object asked for.
#include "RecordingCanvas.h"
#include "printer/PlatformPrinter.h"

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

struct FakeDriver {
    DeviceMode defaults{sizeof(DeviceMode), DM_PAPERSIZE | DM_DEFAULTSOURCE, 9, 100, 8};
    std::vector<NumberedName> papers;
    std::vector<NumberedName> bins;
    TPoint resolution{360, 360};
    PageGeometry page{720, 288, 0, 0};
};

class FakePlatformPrinter : public PlatformPrinter {
public:
    std::vector<PrinterRecord> printers;
    std::map<std::string, FakeDriver> drivers; // by printer name
    std::vector<std::string> ports;
    int defaultIndex = 0;
    int current = -2; // -2: nothing chosen yet, the default is reported
    DeviceMode mode;  // the current device settings
    bool modeLoaded = false;

    // What the object did.
    int enumPrintersCalls = 0;
    int deviceModeCalls = 0;
    int capabilityCalls = 0;
    int resets = 0;
    int discards = 0;
    std::vector<SlipForm> forms;     // every slip form handed down
    std::vector<std::string> events; // title, begin, end, abort, raw in order
    RecordingCanvas canvas;

    void Add(const std::string& name, bool hidden = false, FakeDriver driver = {}) {
        printers.push_back({name, hidden ? PRINTER_ATTRIBUTE_HIDDEN | 0x40u : 0x40u});
        drivers[name] = driver;
    }

    std::vector<PrinterRecord> EnumPrinters() override {
        ++enumPrintersCalls;
        return printers;
    }
    std::vector<std::string> EnumPorts() override { return ports; }
    int PrinterIndex() override {
        if (current == -2) return printers.empty() ? -1 : defaultIndex;
        if (current == -1) return defaultIndex;
        return current;
    }
    void SetPrinterIndex(int index) override {
        current = index;
        modeLoaded = false;
    }
    std::string DeviceName() override {
        int p = PrinterIndex();
        if (p < 0 || p >= static_cast<int>(printers.size())) throw std::runtime_error("no current printer");
        return printers[p].name;
    }
    void ResetDeviceMode() override {
        ++resets;
        mode = drivers[DeviceName()].defaults;
        modeLoaded = true;
    }
    DeviceMode GetDeviceMode() override {
        ++deviceModeCalls;
        if (!modeLoaded) ResetDeviceMode();
        return mode;
    }
    DeviceMode DefaultDeviceMode(const std::string& device) override { return drivers.at(device).defaults; }
    void SetPaperAndBin(std::int16_t paper, std::int16_t bin) override {
        GetDeviceMode();
        mode.dmPaperSize = paper;
        mode.dmDefaultSource = bin;
    }
    void SetSlipForm(SlipForm form) override {
        forms.push_back(form);
        modeLoaded = false;
    }
    std::vector<NumberedName> Papers(const std::string& device) override {
        ++capabilityCalls;
        return drivers.at(device).papers;
    }
    std::vector<NumberedName> Bins(const std::string& device) override {
        ++capabilityCalls;
        return drivers.at(device).bins;
    }
    TPoint Resolution() override { return drivers[DeviceName()].resolution; }
    PageGeometry Page() override { return drivers[DeviceName()].page; }
    void SetTitle(const std::string& title) override { events.push_back("title " + title); }
    void BeginDoc() override { events.push_back("begin"); }
    void EndDoc() override { events.push_back("end"); }
    void Abort() override { events.push_back("abort"); }
    void SendRaw(const std::string& bytes) override { events.push_back("raw " + bytes); }
    HqCanvas& Canvas() override { return canvas; }
    void Reload() override {}
    void Discard() override {
        ++discards;
        current = -2;
        modeLoaded = false;
    }
};
