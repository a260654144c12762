#pragma once
// The private server that scripts/pg-sandbox runs for these tests: ZARIDI_PG_DIR names its folder,
// which is also its socket directory. The superuser "zaridi" logs in without a password.
#include "history/SqlDb.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

inline std::string PgDir() {
    const char* dir = std::getenv("ZARIDI_PG_DIR");
    if (!dir || !*dir)
        throw std::runtime_error("ZARIDI_PG_DIR is not set: run under ctest or scripts/pg-sandbox");
    return dir;
}

inline history::PgParams PgAs(const std::string& user, const std::string& database) {
    return {{"host", PgDir()}, {"port", "5432"}, {"user", user}, {"dbname", database}};
}

inline std::unique_ptr<history::SqlDb> PgAdmin(const std::string& database = "postgres") {
    return history::OpenPostgres(PgAs("zaridi", database));
}

// A name no other test of any run uses.
inline std::string UniqueName(const char* prefix) {
    static int n = 0;
    return prefix + std::to_string(::getpid()) + "_" + std::to_string(++n);
}

// A new, empty database owned by `owner`.
inline std::string NewDatabase(const std::string& owner = "zaridi") {
    std::string name = UniqueName("t");
    PgAdmin()->Script("CREATE DATABASE " + name + " OWNER " + owner);
    return name;
}

// A server of one test's own, for what would disturb the tests sharing the sandbox: stopping it.
// Started with scripts/pg-sandbox in `dir` (a short path: it holds the socket), stopped at the end.
class PrivateServer {
public:
    explicit PrivateServer(std::string dir) : dir_(std::move(dir)) {
        // Under root the server runs as another user, who must reach the folder.
        std::filesystem::permissions(std::filesystem::path(dir_).parent_path(),
                                     std::filesystem::perms::group_exec | std::filesystem::perms::others_exec,
                                     std::filesystem::perm_options::add);
        if (std::system(("'" + Script() + "' start '" + dir_ + "' >/dev/null").c_str()) != 0)
            throw std::runtime_error("pg-sandbox could not start a server in " + dir_);
    }
    ~PrivateServer() {
        Signal(SIGCONT);
        (void)!std::system(("'" + Script() + "' stop '" + dir_ + "'").c_str());
    }
    PrivateServer(const PrivateServer&) = delete;
    PrivateServer& operator=(const PrivateServer&) = delete;

    // Stops the server (every connection ends), and starts it again on the same data.
    void Stop() const { (void)!std::system(("'" + Script() + "' stop '" + dir_ + "'").c_str()); }
    void Start() const {
        if (std::system(("'" + Script() + "' start '" + dir_ + "' >/dev/null").c_str()) != 0)
            throw std::runtime_error("pg-sandbox could not start the server in " + dir_ + " again");
    }

    history::PgParams As(const std::string& database = "postgres") const {
        return {{"host", dir_}, {"port", "5432"}, {"user", "zaridi"}, {"dbname", database}};
    }

    // SIGSTOP or SIGCONT to the server and every process it started.
    void Signal(int signal) const {
        std::ifstream pidFile(dir_ + "/data/postmaster.pid");
        pid_t server = 0;
        if (!(pidFile >> server) || server <= 0) return;
        std::vector<pid_t> pids = {server};
        for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
            std::ifstream stat(entry.path() / "stat");
            std::string pid, name, state;
            pid_t parent = 0;
            if (stat >> pid >> name >> state >> parent && parent == server) pids.push_back(std::stoi(pid));
        }
        for (pid_t pid : pids)
            ::kill(pid, signal);
    }

private:
    static std::string Script() { return std::string(ZARIDI_SOURCE_DIR) + "/scripts/pg-sandbox"; }

    std::string dir_;
};
