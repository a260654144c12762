#pragma once
// Fontconfig reads its configuration and font caches on first use, and the window's first font lookup
// would wait for it. This starts that work on another core while the application connects to the
// display. Fontconfig's set-up is thread-safe: a lookup that comes first simply does it itself.
#include <thread>

class EarlyFontSetup {
public:
    EarlyFontSetup();
    ~EarlyFontSetup(); // waits for the set-up, which takes a few milliseconds

    EarlyFontSetup(const EarlyFontSetup&) = delete;
    EarlyFontSetup& operator=(const EarlyFontSetup&) = delete;

private:
    std::thread thread_;
};
