// Importing an order file of 10,000 item rows: read, decode, recognise, group and clean (goal < 1 s).
#include "bench/MallExport.h"
#include "orders/Orders.h"
#include "platform/Cp932Codec.h"
#include "platform/FileIO.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

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

} // namespace

BENCHMARK_MAIN();
