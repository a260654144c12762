#include "printer/qt/PrinterBackEnd.h"

#include "printer/HqPrinterErrors.h"
#include "printer/qt/PdfCanvas.h"

#include <climits>
#include <dlfcn.h>
#include <mutex>
#include <unistd.h>

namespace {

// The entry points of libzaridi_cups.so (printer/qt/CupsEntry.cpp).
using NewPrinterFn = PlatformPrinter* (*)();
using AddressFn = void (*)(char*, std::size_t);
using UseFn = void (*)(const char*);

std::string LibraryPath() {
    char exe[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    std::string dir = n > 0 ? std::string(exe, static_cast<std::size_t>(n)) : std::string();
    dir = dir.substr(0, dir.rfind('/') + 1);
    return dir + "libzaridi_cups.so";
}

// The library's handle; with `load` false only when it is loaded already.
void* Library(bool load, std::string* error = nullptr) {
    static std::mutex mutex;
    static void* handle = nullptr;
    std::lock_guard lock(mutex);
    if (handle) return handle;
    const std::string path = LibraryPath();
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | (load ? 0 : RTLD_NOLOAD));
    if (!handle && error) {
        const char* message = dlerror();
        *error = message ? message : path;
    }
    return handle;
}

template <typename F>
F Entry(void* library, const char* name) {
    return library ? reinterpret_cast<F>(dlsym(library, name)) : nullptr;
}

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
    std::vector<NumberedName> Papers(const std::string&) override { return {}; }
    std::vector<NumberedName> Bins(const std::string&) override { return {}; }
    TPoint Resolution() override { return {300, 300}; }
    PageGeometry Page() override { return {595, 842, 0, 0}; } // A4, as a queue without papers
    void SetTitle(const std::string&) override {}
    void BeginDoc() override { throw EHqPrinter("THqPrinter.BeginDoc: No Printer", why_); }
    void EndDoc() override { throw EHqPrinter("THqPrinter.EndDoc: No Printer", why_); }
    void Abort() override {}
    HqCanvas& Canvas() override { return canvas_; }
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
    if (auto create = Entry<NewPrinterFn>(Library(true, &error), "ZaridiNewCupsPrinter"))
        return std::unique_ptr<PlatformPrinter>(create());
    return std::make_unique<NoBackEnd>(error.empty() ? "libzaridi_cups.so: ZaridiNewCupsPrinter missing"
                                                     : error);
}

std::string CurrentScheduler() {
    auto address = Entry<AddressFn>(Library(false), "ZaridiCurrentScheduler");
    if (!address) return {};
    char buf[1024] = "";
    address(buf, sizeof buf);
    return buf;
}

void UseScheduler(const std::string& address) {
    if (address.empty()) return;
    if (auto use = Entry<UseFn>(Library(true), "ZaridiUseScheduler")) use(address.c_str());
}
