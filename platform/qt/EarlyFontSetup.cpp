#include "platform/qt/EarlyFontSetup.h"

#include <fontconfig/fontconfig.h>
#include <system_error>

EarlyFontSetup::EarlyFontSetup() {
    try {
        thread_ = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // No thread to be had: the first font lookup does the set-up, as it would anyway.
    }
}

EarlyFontSetup::~EarlyFontSetup() {
    if (thread_.joinable()) thread_.join();
}
