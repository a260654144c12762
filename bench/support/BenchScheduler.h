#pragma once
// The benchmarks' private CUPS scheduler (scripts/cups-sandbox) in a folder of its own, started and
// stopped with the benchmark, never the machine's own.
#include <cstdio>
#include <filesystem>
#include <string>

namespace bench {

inline std::string Shell(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0)
            out.append(buf, n);
        pclose(p);
    }
    return out;
}

// With `queues` 0 nothing is started and the address leads nowhere; with 3 or more the sandbox's queues
// (dotmatrix, rejecting, slip) come first and the others are added after them.
class Scheduler {
public:
    Scheduler(const std::filesystem::path& dir, int queues) : dir_(dir / "cups") {
        if (queues == 0) {
            server_ = "127.0.0.1:1"; // nothing listens there
            return;
        }
        std::filesystem::create_directories(dir_);
        const std::string out = Shell("'" + Script() + "' start '" + dir_.string() + "' 2>/dev/null");
        const std::string key = "export CUPS_SERVER=";
        if (std::size_t at = out.find(key); at != std::string::npos)
            server_ = out.substr(at + key.size(), out.find('\n', at) - at - key.size());
        started_ = !server_.empty();
        std::string add;
        for (int i = 3; i < queues; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "zz%02d", i);
            add += "lpadmin -h " + server_ + " -p " + name + " -E -v file:///dev/null -P '" + dir_.string() +
                   "/ppd/zaridi-slip.ppd' 2>/dev/null && ";
        }
        if (!add.empty()) Shell(add + "true");
    }
    ~Scheduler() {
        if (started_) Shell("'" + Script() + "' stop '" + dir_.string() + "'");
    }
    Scheduler(const Scheduler&) = delete;
    Scheduler& operator=(const Scheduler&) = delete;

    const std::string& Server() const { return server_; }
    const std::filesystem::path& Dir() const { return dir_; }
    std::filesystem::path AccessLog() const { return dir_ / "log/access_log"; }
    bool Running() const { return started_; }

private:
    static std::string Script() { return ZARIDI_SOURCE_DIR "/scripts/cups-sandbox"; }

    std::filesystem::path dir_;
    std::string server_;
    bool started_ = false;
};

} // namespace bench
