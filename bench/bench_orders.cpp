// Importing an order file of 10,000 item rows: read, decode, recognise, group and clean (goal < 1 s);
// and `zaridi-probe orders import` on 100,000 rows, as support runs it: wall time (goal ≤ 2 s) and the
// process's peak memory (goal ≤ 250 MB).
#include "bench/MallExport.h"
#include "orders/Orders.h"
#include "platform/Cp932Codec.h"
#include "platform/FileIO.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

class OrderFile {
public:
    explicit OrderFile(const std::string& bytes) {
        path_ =
            (std::filesystem::temp_directory_path() / ("bench-orders-" + std::to_string(::getpid()) + ".csv"))
                .string();
        fileio::WriteFileAtomic(path_, bytes);
    }
    ~OrderFile() { std::remove(path_.c_str()); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

void BM_ImportTenThousandRows(benchmark::State& state, bool shiftJis) {
    std::string utf8 = MallExport(10000);
    OrderFile file(shiftJis ? cp932::FromUtf8(utf8) : utf8);
    std::size_t orders = 0;
    for (auto _ : state) {
        std::vector<orders::Order> list = orders::ImportOrders(file.Path(), {}).orders;
        orders = list.size();
        benchmark::DoNotOptimize(list);
    }
    state.counters["orders"] = static_cast<double>(orders);
    state.counters["MB"] = static_cast<double>(utf8.size()) / 1e6;
}
BENCHMARK_CAPTURE(BM_ImportTenThousandRows, ShiftJis, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ImportTenThousandRows, Utf8, false)->Unit(benchmark::kMillisecond);

// Reading alone on a file near the size limit: bounded by the file, not by what it holds.
void BM_ReadLargeFile(benchmark::State& state) {
    std::string utf8 = MallExport(60000);
    OrderFile file(cp932::FromUtf8(utf8));
    for (auto _ : state)
        benchmark::DoNotOptimize(orders::ReadOrderTable(file.Path()));
    state.counters["MB"] = static_cast<double>(utf8.size()) / 1e6;
}
BENCHMARK(BM_ReadLargeFile)->Unit(benchmark::kMillisecond);

// The probe on a file, its output thrown away: wall seconds and peak resident megabytes of the child.
std::pair<double, double> RunProbe(const std::string& file) {
    const std::string probe = ZARIDI_BIN_DIR "/zaridi-probe";
    const char* argv[] = {probe.c_str(), "orders", "import", file.c_str(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, probe.c_str(), &actions, nullptr, const_cast<char**>(argv), environ) != 0)
        throw std::runtime_error("cannot start " + probe);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error("the probe failed");
    return {seconds, static_cast<double>(usage.ru_maxrss) / 1024.0};
}

void BM_ProbeImportsHundredThousandRows(benchmark::State& state) {
    OrderFile file(StoreExport(100000));
    double peak = 0;
    for (auto _ : state) {
        auto [seconds, megabytes] = RunProbe(file.Path());
        state.SetIterationTime(seconds);
        peak = std::max(peak, megabytes);
    }
    state.counters["peak_MB"] = peak;
    state.counters["rows"] = 100000;
}
BENCHMARK(BM_ProbeImportsHundredThousandRows)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
