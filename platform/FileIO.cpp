#include "platform/FileIO.h"

#include "platform/Cp932Codec.h"
#include "platform/RuntimeErrors.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fileio {
namespace {

EInOutError ErrorFor(int err, const std::string& path) {
    return EInOutError::FromErrno(err, path);
}

EInOutError NotAFile(const std::string& path) {
    return {EINVAL, cp932::FromUtf8(path + " は通常のファイルではありません")};
}

EInOutError TooLarge(const std::string& path, std::size_t limit) {
    return {EFBIG, cp932::FromUtf8(path + " は大きすぎます（" + LimitText(limit) + " まで）")};
}

// The mark tells the program's own temporaries from anything else beside them.
constexpr std::string_view kTemporaryMark = ".tavo-";

// The name a temporary for `name` starts with; mkostemp adds six letters or digits.
std::string TemporaryPrefix(const std::string& name) {
    return "." + name + std::string(kTemporaryMark);
}

// What older programs named them: recognised only for the files they wrote.
std::string LegacyTemporaryPrefix(const std::string& name) {
    return "." + name + ".";
}

// The file a write to `path` replaces: the final target when `path` is a symbolic link (a dangling
// link names the file to create), else `path` itself.
std::string WriteTarget(const std::string& path) {
    std::filesystem::path p(path);
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p.string();
        std::error_code ec;
        std::filesystem::path target = std::filesystem::read_symlink(p, ec);
        if (ec) throw ErrorFor(ec.value(), path);
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
    throw ErrorFor(ELOOP, path);
}

// Past the file-size limit the kernel sends SIGXFSZ, whose default ends the process; ignored, the
// write fails with EFBIG and is reported. A handler the program installed itself is left alone.
void IgnoreFileSizeSignal() {
    static const bool done = [] {
        struct sigaction old {};
        if (::sigaction(SIGXFSZ, nullptr, &old) == 0 && old.sa_handler == SIG_DFL) ::signal(SIGXFSZ, SIG_IGN);
        return true;
    }();
    (void)done;
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

// Customer names and addresses: a new file is the user's alone.
mode_t DefaultMode() {
    return static_cast<mode_t>(0600 & ~CurrentUmask());
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

std::string LimitText(std::size_t limit) {
    if (limit % (1u << 20) == 0) return std::to_string(limit >> 20) + " MB";
    if (limit % (1u << 10) == 0) return std::to_string(limit >> 10) + " KB";
    return std::to_string(limit) + " bytes";
}

std::optional<std::string> ReadFileIfExists(const std::string& path, std::size_t limit) {
    // Without O_NONBLOCK, opening a pipe waits for a writer that never comes.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return std::nullopt;
        throw ErrorFor(errno, path);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<std::uint64_t>(st.st_size) > limit) {
        const int err = errno;
        const bool regular = S_ISREG(st.st_mode);
        ::close(fd);
        if (st.st_mode == 0) throw ErrorFor(err, path);
        if (S_ISDIR(st.st_mode)) throw ErrorFor(EISDIR, path);
        throw regular ? TooLarge(path, limit) : NotAFile(path);
    }
    // Read in place, into room for the whole file and a byte more, which tells the end at once.
    std::string bytes(static_cast<std::size_t>(st.st_size) + 1, '\0');
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size()) bytes.resize(std::min(limit + 1, std::max<std::size_t>(2 * got, 65536)));
        ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            ::close(fd);
            throw ErrorFor(err, path);
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
        if (got > limit) { // grew while being read, or a file that reads without end
            ::close(fd);
            throw TooLarge(path, limit);
        }
    }
    ::close(fd);
    bytes.resize(got);
    return bytes;
}

std::string ReadFile(const std::string& path, std::size_t limit) {
    if (auto bytes = ReadFileIfExists(path, limit)) return *bytes;
    throw ErrorFor(ENOENT, path);
}

void WriteFileAtomic(const std::string& path, const std::string& bytes) {
    IgnoreFileSizeSignal();
    // Renaming over a link would replace the link with a plain file; the file it points to is meant.
    const std::string file = WriteTarget(path);
    struct stat old {};
    mode_t mode = DefaultMode();
    if (::stat(file.c_str(), &old) == 0) {
        if (S_ISDIR(old.st_mode)) throw ErrorFor(EISDIR, path);
        mode = old.st_mode & 07777;
    }
    std::filesystem::path target(file);
    std::string dir = target.has_parent_path() ? target.parent_path().string() : ".";
    std::string tmpl = JoinPath(dir, TemporaryPrefix(target.filename().string()) + "XXXXXX");
    int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
    if (fd < 0) throw ErrorFor(errno, path);
    int err = 0;
    if (!WriteAll(fd, bytes)) err = errno;
    if (!err && ::fsync(fd) != 0) err = errno;
    if (!err && ::fchmod(fd, mode) != 0) err = errno;
    if (::close(fd) != 0 && !err) err = errno;
    if (!err && ::rename(tmpl.c_str(), file.c_str()) != 0) err = errno;
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

int RemoveStaleTemporaries(const std::string& dir, std::span<const std::string> legacyNames,
                           std::chrono::seconds age) {
    const auto endsInTemplate = [](const std::string& entry, std::size_t prefix) {
        return entry.size() == prefix + 6 &&
               std::all_of(entry.begin() + static_cast<std::ptrdiff_t>(prefix), entry.end(), [](char c) {
                   return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
               });
    };
    const auto isTemporary = [&](const std::string& entry) {
        // ".NAME" + kTemporaryMark + six letters, for any NAME.
        const std::size_t mark = entry.size() - std::min(entry.size(), kTemporaryMark.size() + 6);
        if (entry.size() >= 2 + kTemporaryMark.size() + 6 && entry.front() == '.' &&
            entry.compare(mark, kTemporaryMark.size(), kTemporaryMark) == 0 &&
            endsInTemplate(entry, mark + kTemporaryMark.size()))
            return true;
        for (const std::string& name : legacyNames) {
            const std::string prefix = LegacyTemporaryPrefix(name);
            if (entry.starts_with(prefix) && endsInTemplate(entry, prefix.size())) return true;
        }
        return false;
    };
    const std::time_t before = std::time(nullptr) - static_cast<std::time_t>(age.count());
    int removed = 0;
    std::error_code ec;
    std::filesystem::directory_iterator it(dir.empty() ? "." : dir, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::filesystem::path& entry = it->path();
        if (!isTemporary(entry.filename().string())) continue;
        struct stat st {};
        if (::lstat(entry.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() ||
            st.st_mtime >= before)
            continue;
        if (::unlink(entry.c_str()) == 0) ++removed;
    }
    return removed;
}

bool OpenToOthers(const std::string& dir) {
    struct stat st {};
    return ::stat(dir.c_str(), &st) == 0 && (st.st_mode & 0077) != 0;
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
