#pragma once
// Libraries of the program's own that are loaded only when their work first comes: the printer back end
// (libcups), the history server (libpq) and the ZIP reader (libzip). What those bring (TLS, Kerberos,
// LDAP, service discovery) is a third of what the program would otherwise load before its window shows.
// A library is looked for beside the program (the build tree), then in the program's private library
// folder (the installed package).
#include <string>

namespace late_library {

inline constexpr const char* kCups = "libzaridi_cups.so";
inline constexpr const char* kPostgres = "libzaridi_pq.so";
inline constexpr const char* kZip = "libzaridi_zip.so";
inline constexpr const char* kAll[] = {kCups, kPostgres, kZip};

// The library's entry `symbol` (loading `file` once per process), or nullptr with why in `error`.
void* EntryAddress(const char* file, const char* symbol, std::string* error = nullptr);
// The same, but only when `file` is loaded already: never loads it.
void* EntryAddressIfLoaded(const char* file, const char* symbol);

template <typename F>
F Entry(const char* file, const char* symbol, std::string* error = nullptr) {
    return reinterpret_cast<F>(EntryAddress(file, symbol, error));
}
template <typename F>
F EntryIfLoaded(const char* file, const char* symbol) {
    return reinterpret_cast<F>(EntryAddressIfLoaded(file, symbol));
}

// For the self-test: each of kAll that cannot be loaded, with why, a line each.
std::string LoadErrors();

} // namespace late_library
