#pragma once
// The CUPS back end is a library of its own (libzaridi_cups.so, platform/LateLibrary.h), loaded when the
// printer object is first made rather than when the program starts: libcups and what it brings (TLS,
// Kerberos, service discovery) are a fifth of the program's libraries and nothing of the first window
// needs them.
#include "printer/PlatformPrinter.h"

#include <memory>
#include <string>

// A new platform printer over CUPS. When the library cannot be loaded, one that has no printers and
// gives the loader's message as the reason.
std::unique_ptr<PlatformPrinter> NewCupsPrinter();

// The scheduler the calling thread talks to ("host:port" or a socket path); empty while the back end is
// not loaded, when every thread talks to the one CUPS_SERVER names.
std::string CurrentScheduler();
// Makes the calling thread talk to `address` (from CurrentScheduler; empty changes nothing).
void UseScheduler(const std::string& address);
