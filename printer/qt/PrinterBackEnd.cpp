#include "printer/qt/PrinterBackEnd.h"

#include "platform/LateLibrary.h"
#include "printer/HqPrinterErrors.h"
#include "printer/qt/PdfCanvas.h"

namespace {

// The entry points of the CUPS back end (printer/qt/CupsEntry.cpp).
using NewPrinterFn = PlatformPrinter* (*)();
using AddressFn = void (*)(char*, std::size_t);
using UseFn = void (*)(const char*);

// What stands in for the back end when its library is missing: no printers, and why.
class NoBackEnd : public PlatformPrinter {
public:
    explicit NoBackEnd(std::string why) : why_(std::move(why)) {}
    std::vector<PrinterRecord> EnumPrinters() override { return {}; }
    std::vector<std::string> EnumPorts() override { return {}; }
    int PrinterIndex() override { return -1; }
    void SetPrinterIndex(int) override {}
    std::string DeviceName() override { return {}; }
    void ResetDeviceMode() override {}
    DeviceMode GetDeviceMode() override { return {}; }
    DeviceMode DefaultDeviceMode(const std::string&) override { return {}; }
    void SetPaperAndBin(std::int16_t, std::int16_t) override {}
    void SetSlipForm(SlipForm) override {}
    std::vector<NumberedName> Papers(const std::string&) override { return {}; }
    std::vector<NumberedName> Bins(const std::string&) override { return {}; }
    TPoint Resolution() override { return {300, 300}; }
    PageGeometry Page() override { return {595, 842, 0, 0}; } // A4, as a queue without papers
    void SetTitle(const std::string&) override {}
    void BeginDoc() override { throw EHqPrinter("THqPrinter.BeginDoc: No Printer", why_); }
    void EndDoc() override { throw EHqPrinter("THqPrinter.EndDoc: No Printer", why_); }
    void Abort() override {}
    HqCanvas& Canvas() override { return canvas_; }
    void SendRaw(const std::string&) override { throw EHqPrinter("THqPrinter.PrintRaw: No Printer", why_); }
    std::string NoPrinterCause() override { return why_; }
    void Discard() override {}
    void Reload() override {}

private:
    std::string why_;
    PdfCanvas canvas_;
};

} // namespace

std::unique_ptr<PlatformPrinter> NewCupsPrinter() {
    std::string error;
    if (auto create = late_library::Entry<NewPrinterFn>(late_library::kCups, "ZaridiNewCupsPrinter", &error))
        return std::unique_ptr<PlatformPrinter>(create());
    return std::make_unique<NoBackEnd>(error);
}

std::string CurrentScheduler() {
    auto address = late_library::EntryIfLoaded<AddressFn>(late_library::kCups, "ZaridiCurrentScheduler");
    if (!address) return {};
    char buf[1024] = "";
    address(buf, sizeof buf);
    return buf;
}

void UseScheduler(const std::string& address) {
    if (address.empty()) return;
    if (auto use = late_library::Entry<UseFn>(late_library::kCups, "ZaridiUseScheduler"))
        use(address.c_str());
}
