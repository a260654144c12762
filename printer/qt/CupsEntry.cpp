// The entry points of libzaridi_cups.so, which the program loads by name (printer/qt/PrinterBackEnd).
#include "printer/qt/CupsConnection.h"
#include "printer/qt/CupsPrinter.h"

#include <cstring>

#define ZARIDI_ENTRY extern "C" __attribute__((visibility("default")))

ZARIDI_ENTRY PlatformPrinter* ZaridiNewCupsPrinter() {
    return new CupsPrinter();
}

ZARIDI_ENTRY void ZaridiCurrentScheduler(char* out, std::size_t size) {
    const std::string address = SchedulerAddress();
    if (size == 0) return;
    std::strncpy(out, address.c_str(), size - 1);
    out[size - 1] = '\0';
}

ZARIDI_ENTRY void ZaridiUseScheduler(const char* address) {
    cupsSetServer(address);
}
