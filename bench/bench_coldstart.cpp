// Cold start as the user feels it: the real program started N times, from exec to the main window's
// first paint on an X server, beside a bare Qt window with 30 line edits started alternately in the same
// run. Reported: both medians, their ratio (goal: at most 1.3), peak RSS (goal: at most 45 MB), shared
// objects loaded, and the scheduler requests made before the window showed (goal: at most 2, no PPD).
// Run against the private scheduler with 3 queues, with 50 queues and with none (argument 0).
//
// Needs Xvfb unless DISPLAY is set. ZARIDI_COLDSTART_RUNS sets N (default 15); ZARIDI_COLDSTART_PROGRAM
// starts another build of the program instead. Both programs leave at their first paint through
// platform/qt/FirstPaint.h.
#include "support/BenchScheduler.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

const std::string kBin = ZARIDI_BIN_DIR;

std::int64_t NowNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::size_t CountLines(const fs::path& path) {
    std::ifstream in(path);
    return static_cast<std::size_t>(std::count(std::istreambuf_iterator<char>(in), {}, '\n'));
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// A private X server for the whole run, unless one is already given.
class Display {
public:
    Display() {
        if (const char* d = std::getenv("DISPLAY"); d && *d) {
            name_ = d;
            return;
        }
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            int null = open("/dev/null", O_RDWR);
            dup2(null, 0);
            dup2(null, 1);
            dup2(null, 2);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten",
                   "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        char buf[32] = {};
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, 10000) == 1 && read(fds[0], buf, sizeof buf - 1) > 0)
            name_ = ":" + std::to_string(std::atoi(buf));
        close(fds[0]);
    }
    ~Display() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& Name() const { return name_; }

private:
    pid_t pid_ = -1;
    std::string name_;
};

struct Start {
    double ms = 0;    // exec to first paint
    double cpuMs = 0; // CPU time the process used until then
    double rssMb = 0; // peak resident set
    int objects = 0;  // shared objects loaded at the first paint
    bool ok = false;
    std::string why; // when not ok: how the start ended and the end of what it wrote on stderr
};

// Starts `program` in `cwd` with the first-paint hook and waits for it to leave.
Start Run(const std::string& program, const fs::path& cwd, const std::vector<std::string>& extraEnv) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        std::string s = *e;
        bool replaced = false;
        for (const std::string& x : extraEnv)
            replaced = replaced || s.compare(0, x.find('=') + 1, x, 0, x.find('=') + 1) == 0;
        if (!replaced) env.push_back(s);
    }
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> envp;
    for (std::string& s : env)
        envp.push_back(s.data());
    envp.push_back(nullptr);

    int out[2];
    if (pipe(out) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const fs::path errors = cwd.parent_path() / "stderr.txt";
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    std::string path = program;
    char* argv[] = {path.data(), nullptr};

    Start start;
    const std::int64_t t0 = NowNs();
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (rc != 0) {
        close(out[0]);
        return {};
    }
    std::string line;
    pollfd p{out[0], POLLIN, 0};
    char buf[256];
    while (line.find('\n') == std::string::npos && poll(&p, 1, 30000) == 1) {
        ssize_t n = read(out[0], buf, sizeof buf);
        if (n <= 0) break;
        line.append(buf, static_cast<std::size_t>(n));
    }
    close(out[0]);
    long long paintNs = 0, cpuNs = 0;
    if (std::sscanf(line.c_str(), "first-paint %lld %d %lld", &paintNs, &start.objects, &cpuNs) == 3) {
        start.ms = (paintNs - t0) / 1e6;
        start.cpuMs = cpuNs / 1e6;
        start.ok = true;
    } else {
        kill(pid, SIGKILL);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    start.rssMb = usage.ru_maxrss / 1024.0;
    if (!start.ok) {
        std::ifstream in(errors);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        start.why = fs::path(program).filename().string() + ": " +
                    (WIFSIGNALED(status) ? "signal " + std::to_string(WTERMSIG(status))
                                         : "exit " + std::to_string(WEXITSTATUS(status))) +
                    (text.empty() ? "" : ": " + text.substr(text.size() > 300 ? text.size() - 300 : 0));
    }
    return start;
}

// A working folder as after some days of use: settings, a sender, both slip types registered (the hand-fed
// one on the second visible printer, "slip").
fs::path MakeWorkDir(const fs::path& base) {
    fs::path dir = base / "work";
    fs::create_directories(dir);
    WriteFile(dir / "my0.txt", "160-0023\r\nTokyo Shinjuku 1-2-3\r\nBldg 5F\r\nTavo Co.\r\n03-1234-0000\r\n");
    WriteFile(
        dir / "tavo_Zaridi2.ini",
        "[tv_SAGAWAprn]\r\nAddr_Font=1\r\nE_ZIP=530-0001\r\nE_AD1=Osaka Kita Umeda 3-1-1\r\nE_AD2=Room "
        "1203\r\n"
        "E_CUS=Yamada\r\nE_TEL=06-6345-1234\r\nE_G1=Books\r\nKOSUU=2\r\nOP023My=Tavo\r\nComboBox_SEL=0\r\n"
        "Tab_My=0\r\nZaRIDI2prnno=-1\r\n");
    // Section names are the slip types in CP932: 手差し and 連続(４インチ).
    WriteFile(dir / "tavo_a500.ini",
              "[\x8e\xe8\x8d\xb7\x82\xb5]\r\nPrnName=slip\r\nPrnNoIndex=1\r\ntavPrn_Top=0\r\n"
              "tavPrn_Left=0\r\n[\x98\x41\x91\xb1(\x82\x53\x83\x43\x83\x93\x83\x60)]\r\n"
              "PrnName=dotmatrix\r\nPrnNoIndex=0\r\ntavPrn_Top=0\r\ntavPrn_Left=0\r\n");
    return dir;
}

void BM_ColdStart(benchmark::State& state) {
    const int queues = static_cast<int>(state.range(0));
    const int runs = std::max(
        1, std::atoi(std::getenv("ZARIDI_COLDSTART_RUNS") ? std::getenv("ZARIDI_COLDSTART_RUNS") : "15"));
    static Display display;
    if (display.Name().empty()) {
        state.SkipWithError("no X server: install Xvfb or set DISPLAY");
        return;
    }
    char tmpl[] = "/tmp/zaridi-coldstart-XXXXXX";
    if (!mkdtemp(tmpl)) {
        state.SkipWithError("no temporary folder");
        return;
    }
    struct Cleanup {
        fs::path dir;
        ~Cleanup() {
            std::error_code ignored;
            fs::remove_all(dir, ignored);
        }
    } cleanup{tmpl}; // after the scheduler has stopped
    const fs::path base = tmpl;
    bench::Scheduler scheduler(base, queues);
    if (queues > 0 && !scheduler.Running()) {
        state.SkipWithError("the private scheduler did not start (scripts/cups-sandbox)");
        return;
    }
    const fs::path work = MakeWorkDir(base);
    const fs::path runtime = base / "runtime"; // the single-instance guard of these starts only
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    const std::vector<std::string> env = {
        "DISPLAY=" + display.Name(),           "QT_QPA_PLATFORM=xcb",
        "CUPS_SERVER=" + scheduler.Server(),   "ZARIDI_EXIT_AFTER_FIRST_PAINT=1",
        "XDG_RUNTIME_DIR=" + runtime.string(), "TMPDIR=" + runtime.string()};
    const char* other = std::getenv("ZARIDI_COLDSTART_PROGRAM"); // e.g. an older build, for before and after
    const std::string program = other && *other ? other : kBin + "/tavo_Zaridi2";
    const std::string bare = kBin + "/coldstart_bare_window";

    std::vector<double> ours, theirs, ratios, ourCpu, theirCpu, ourRss, theirRss, requests, ppds;
    int ourObjects = 0, theirObjects = 0, failures = 0;
    std::string firstFailure;
    for (auto _ : state) {
        Run(program, work, env); // warm the page cache; not counted
        Run(bare, work, env);
        for (int i = 0; i < runs; ++i) {
            const std::size_t logBefore = scheduler.Running() ? CountLines(scheduler.AccessLog()) : 0;
            std::optional<Start> a, b;
            if (i % 2) b = Run(bare, work, env);
            a = Run(program, work, env);
            // The program has left: every request it made came before its first paint.
            if (scheduler.Running()) {
                std::ifstream log(scheduler.AccessLog());
                std::string entry;
                std::size_t n = 0, count = 0, ppd = 0;
                while (std::getline(log, entry)) {
                    if (n++ < logBefore) continue;
                    ++count;
                    ppd += entry.find("CUPS-Get-PPD") != std::string::npos ||
                           entry.find(".ppd ") != std::string::npos;
                }
                requests.push_back(static_cast<double>(count));
                ppds.push_back(static_cast<double>(ppd));
            }
            if (!(i % 2)) b = Run(bare, work, env);
            if (!a->ok || !b->ok) {
                if (!failures++) firstFailure = !a->ok ? a->why : b->why;
                continue;
            }
            ours.push_back(a->ms);
            theirs.push_back(b->ms);
            ratios.push_back(a->ms / b->ms);
            ourCpu.push_back(a->cpuMs);
            theirCpu.push_back(b->cpuMs);
            ourRss.push_back(a->rssMb);
            theirRss.push_back(b->rssMb);
            ourObjects = a->objects;
            theirObjects = b->objects;
        }
        state.SetIterationTime(Median(ours) / 1000);
    }
    if (ours.empty()) {
        state.SkipWithError(
            ("no start reached its first paint; the first failed start: " + firstFailure).c_str());
    } else {
        std::sort(ratios.begin(), ratios.end());
        state.counters["zaridi_ms"] = Median(ours);
        state.counters["bare_ms"] = Median(theirs);
        state.counters["ratio"] = Median(ours) / Median(theirs);
        state.counters["ratio_lo"] = ratios[ratios.size() / 4]; // quartiles of the pairwise ratios: the noise
        state.counters["ratio_hi"] = ratios[ratios.size() * 3 / 4];
        // CPU time: steadier than the wall clock on a shared machine.
        state.counters["zaridi_cpu_ms"] = Median(ourCpu);
        state.counters["bare_cpu_ms"] = Median(theirCpu);
        state.counters["cpu_ratio"] = Median(ourCpu) / Median(theirCpu);
        state.counters["rss_MB"] = Median(ourRss);
        state.counters["bare_rss_MB"] = Median(theirRss);
        state.counters["libs"] = ourObjects;
        state.counters["bare_libs"] = theirObjects;
        if (!requests.empty()) {
            state.counters["requests"] = Median(requests);
            state.counters["ppd"] = Median(ppds);
        }
        if (failures) state.counters["failed"] = failures;
    }
}
BENCHMARK(BM_ColdStart)
    ->ArgName("queues")
    ->Arg(3)
    ->Arg(50)
    ->Arg(0)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
