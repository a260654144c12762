#pragma once
// Libraries of the program's own that are loaded only when their work first comes: the printer back end
// (libcups), the history server (libpq) and the ZIP reader (libzip). What those bring (TLS, Kerberos,
// LDAP, service discovery) is a third of what the program would otherwise load before its window shows.
// A library is looked for beside the program (the build tree), then in the program's private library
// folder (the installed package).
#include <string>

namespace late_library {

// The library's entry `symbol` (loading `file` once per process), or nullptr with why in `error`.
void* Entry(const char* file, const char* symbol, std::string* error = nullptr);
// The same, but only when `file` is loaded already: never loads it.
void* EntryIfLoaded(const char* file, const char* symbol);

// The program's own late libraries, for the self-test: each one that cannot be loaded, with why.
std::string LoadErrors();

} // namespace late_library
