#include "platform/FileIO.h"

#include "platform/Cp932Codec.h"
#include "platform/RuntimeErrors.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fileio {
namespace {

EInOutError ErrorFor(int err, const std::string& path) {
    return EInOutError::FromErrno(err, path);
}

// The mask in force now: read from /proc without changing it, since setting it back and forth races
// with any other thread creating files; the set-and-restore is only the fallback.
mode_t CurrentUmask() {
    if (FILE* f = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, f))
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(f);
        if (found) return static_cast<mode_t>(mask);
    }
    mode_t mask = umask(0);
    umask(mask);
    return mask;
}

mode_t DefaultMode() {
    return static_cast<mode_t>(0666 & ~CurrentUmask());
}

bool WriteAll(int fd, const std::string& bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

std::optional<std::string> ReadFileIfExists(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return std::nullopt;
        throw ErrorFor(errno, path);
    }
    std::string bytes;
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            ::close(fd);
            throw ErrorFor(err, path);
        }
        if (n == 0) break;
        bytes.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return bytes;
}

std::string ReadFile(const std::string& path) {
    if (auto bytes = ReadFileIfExists(path)) return *bytes;
    throw ErrorFor(ENOENT, path);
}

void WriteFileAtomic(const std::string& path, const std::string& bytes) {
    struct stat old {};
    mode_t mode = DefaultMode();
    if (::stat(path.c_str(), &old) == 0) {
        if (S_ISDIR(old.st_mode)) throw ErrorFor(EISDIR, path);
        mode = old.st_mode & 07777;
    }
    std::filesystem::path target(path);
    std::string dir = target.has_parent_path() ? target.parent_path().string() : ".";
    std::string tmpl = JoinPath(dir, "." + target.filename().string() + ".XXXXXX");
    int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
    if (fd < 0) throw ErrorFor(errno, path);
    int err = 0;
    if (!WriteAll(fd, bytes)) err = errno;
    if (!err && ::fsync(fd) != 0) err = errno;
    if (!err && ::fchmod(fd, mode) != 0) err = errno;
    if (::close(fd) != 0 && !err) err = errno;
    if (!err && ::rename(tmpl.c_str(), path.c_str()) != 0) err = errno;
    if (err) {
        ::unlink(tmpl.c_str());
        throw ErrorFor(err, path);
    }
    int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

std::string CurrentDirectory() {
    std::error_code ec;
    std::string dir = std::filesystem::current_path(ec).string();
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    return dir;
}

std::string JoinPath(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    if (dir.back() == '/') return dir + name;
    return dir + "/" + name;
}

} // namespace fileio
