#pragma once
// A real small disk for the tests that need one full or read-only: a tmpfs of its own, mounted in a
// private mount namespace of a child process, so the machine's mounts are never touched. The test's
// body runs in that child and reports its failures as text.
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

class SmallDisk {
public:
    // The folder the disk is mounted on, inside the child.
    explicit SmallDisk(std::string dir) : dir_(std::move(dir)) {}

    // Runs `body` in a child that has a tmpfs of `kilobytes` on the folder. The failures `body` returned
    // ("" when none), or nullopt when the system gives this user no private mounts.
    std::optional<std::string> Run(std::size_t kilobytes, const std::function<std::string()>& body) const {
        int out[2];
        if (::pipe(out) != 0) return "pipe: " + std::string(std::strerror(errno));
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(out[0]);
            if (!Enter(kilobytes)) ::_exit(77);
            const std::string failures = body();
            (void)!::write(out[1], failures.data(), failures.size());
            ::_exit(0);
        }
        ::close(out[1]);
        std::string failures;
        char buf[4096];
        for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;)
            failures.append(buf, static_cast<std::size_t>(n));
        ::close(out[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 77) return std::nullopt;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            failures += "the child ended with status " + std::to_string(status);
        return failures;
    }

    // Inside the child: makes the disk read-only from now on.
    bool MakeReadOnly() const {
        return ::mount(nullptr, dir_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    bool Enter(std::size_t kilobytes) const {
        const uid_t uid = ::geteuid();
        const gid_t gid = ::getegid();
        if (::unshare(CLONE_NEWNS) != 0) {
            // An ordinary user gets mounts of its own inside a user namespace, as root of it.
            if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
            WriteProc("/proc/self/setgroups", "deny");
            WriteProc("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1");
            WriteProc("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
        }
        // Nothing mounted here may reach the machine's namespace.
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
        const std::string options = "size=" + std::to_string(kilobytes) + "k,mode=0700";
        return ::mount("tmpfs", dir_.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }

    static void WriteProc(const char* file, const std::string& text) {
        const int fd = ::open(file, O_WRONLY | O_CLOEXEC);
        if (fd < 0) return;
        (void)!::write(fd, text.data(), text.size());
        ::close(fd);
    }

    std::string dir_;
};
