#include "platform/LateLibrary.h"

#include <climits>
#include <dlfcn.h>
#include <map>
#include <mutex>
#include <unistd.h>

namespace late_library {
namespace {

std::string ProgramFolder() {
    char exe[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    const std::string path = n > 0 ? std::string(exe, static_cast<std::size_t>(n)) : std::string();
    return path.substr(0, path.rfind('/') + 1);
}

void* Open(const char* file, bool load, std::string* error) {
    static std::mutex mutex;
    static std::map<std::string, void*> handles;
    std::lock_guard lock(mutex);
    void*& handle = handles[file];
    if (handle) return handle;
    const std::string folder = ProgramFolder();
    const std::string paths[] = {folder + file, folder + ZARIDI_PRIVATE_LIBDIR + "/" + file};
    std::string why =
        std::string(file) + ": neither in " + folder + " nor in " + folder + ZARIDI_PRIVATE_LIBDIR;
    for (const std::string& path : paths) {
        handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | (load ? 0 : RTLD_NOLOAD));
        if (handle) return handle;
        const char* message = dlerror();
        if (access(path.c_str(), F_OK) == 0) why = message ? message : path; // there, but broken
    }
    if (error) *error = why;
    return nullptr;
}

void* Symbol(void* library, const char* file, const char* symbol, std::string* error) {
    if (!library) return nullptr;
    void* entry = dlsym(library, symbol);
    if (!entry && error) *error = std::string(file) + ": " + symbol + " missing";
    return entry;
}

} // namespace

void* EntryAddress(const char* file, const char* symbol, std::string* error) {
    return Symbol(Open(file, true, error), file, symbol, error);
}

void* EntryAddressIfLoaded(const char* file, const char* symbol) {
    return Symbol(Open(file, false, nullptr), file, symbol, nullptr);
}

std::string LoadErrors() {
    std::string errors;
    for (const char* file : kAll) {
        std::string error;
        if (!Open(file, true, &error)) errors += error + "\n";
    }
    return errors;
}

} // namespace late_library
