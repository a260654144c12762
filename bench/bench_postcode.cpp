// The postcode data against the real index beside the program: opening it, looking a code up, checking
// an address against its code and finding the codes of an address.
#include "platform/Cp932Codec.h"
#include "platform/FileIO.h"
#include "postcode/Check.h"
#include "postcode/Import.h"
#include "postcode/Index.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string IndexPath() {
    std::error_code ec;
    return (std::filesystem::read_symlink("/proc/self/exe", ec).parent_path() / postcode::kIndexFileName)
        .string();
}

const postcode::Index* RealIndex() {
    static const std::unique_ptr<postcode::Index> index = [] {
        try {
            return postcode::Index::Open(IndexPath());
        } catch (const postcode::EPostcodeData&) {
            return std::unique_ptr<postcode::Index>();
        }
    }();
    return index.get();
}

struct Sample {
    std::string code, address;
};

// Every 97th row of the data, as a code and an address with a house number after the town.
const std::vector<Sample>& Samples() {
    static const std::vector<Sample> samples = [] {
        std::vector<Sample> out;
        const postcode::Index* idx = RealIndex();
        for (std::size_t i = 0; idx && i < idx->EntryCount(); i += 97) {
            const postcode::EntryView e = idx->EntryAt(i);
            std::string code = std::to_string(e.code);
            code.insert(0, 7 - code.size(), '0');
            std::string address = std::string(e.pref) + std::string(e.city) + std::string(e.town) +
                                  (e.business ? std::string(e.street) : cp932::FromUtf8("１丁目２－３"));
            out.push_back({code, address});
        }
        return out;
    }();
    return samples;
}

bool Ready(benchmark::State& state) {
    if (RealIndex()) return true;
    state.SkipWithError("no postcode index beside the benchmark (build the postcode_index target)");
    return false;
}

void BM_PostcodeOpen(benchmark::State& state) {
    if (!Ready(state)) return;
    const std::string path = IndexPath();
    for (auto _ : state)
        benchmark::DoNotOptimize(postcode::Index::Open(path));
}
BENCHMARK(BM_PostcodeOpen)->Unit(benchmark::kMicrosecond);

// Opening and the first lookup, which touches the mapped pages it needs.
void BM_PostcodeOpenAndLookup(benchmark::State& state) {
    if (!Ready(state)) return;
    const std::string path = IndexPath();
    for (auto _ : state)
        benchmark::DoNotOptimize(postcode::Index::Open(path)->Lookup("5300001"));
}
BENCHMARK(BM_PostcodeOpenAndLookup)->Unit(benchmark::kMicrosecond);

void BM_PostcodeLookup(benchmark::State& state) {
    if (!Ready(state)) return;
    const auto& samples = Samples();
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(RealIndex()->Lookup(samples[i++ % samples.size()].code));
}
BENCHMARK(BM_PostcodeLookup);

void BM_PostcodeCheck(benchmark::State& state) {
    if (!Ready(state)) return;
    const auto& samples = Samples();
    std::size_t i = 0;
    for (auto _ : state) {
        const Sample& s = samples[i++ % samples.size()];
        benchmark::DoNotOptimize(postcode::CheckAddress(*RealIndex(), s.code, s.address));
    }
}
BENCHMARK(BM_PostcodeCheck);

// The code with the most towns (66), against an address that matches none of them.
void BM_PostcodeCheckWorst(benchmark::State& state) {
    if (!Ready(state)) return;
    const std::string address = cp932::FromUtf8("愛知県清須市春日どこにもない町１丁目２－３");
    for (auto _ : state)
        benchmark::DoNotOptimize(postcode::CheckAddress(*RealIndex(), "4520961", address));
}
BENCHMARK(BM_PostcodeCheckWorst);

void BM_PostcodeFind(benchmark::State& state) {
    if (!Ready(state)) return;
    const auto& samples = Samples();
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(RealIndex()->Find(samples[i++ % samples.size()].address));
}
BENCHMARK(BM_PostcodeFind);

// The import of a KEN_ALL.CSV whose one code runs over 20,001 rows after an unclosed parenthesis: the
// rows join into one town, each row's parentheses counted once (goal ≤ 1 s).
void BM_PostcodeImportUnclosedParenthesis(benchmark::State& state) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "bench_postcode_import";
    std::filesystem::create_directories(dir);
    auto row = [](const char* town) {
        return cp932::FromUtf8(
            std::string("01101,\"060  \",\"0600042\",\"ｶﾅ\",\"ｶﾅ\",\"ｶﾅ\",\"北海道\",\"札幌市中央区\",\"") +
            town + "\",0,0,0,0,0,0\r\n");
    };
    std::string csv = row("大通西（");
    for (int i = 0; i < 20000; ++i)
        csv += row("１");
    const std::string input = (dir / "KEN_ALL.CSV").string(), output = (dir / "postcode.idx").string();
    fileio::WriteFileAtomic(input, csv);
    for (auto _ : state)
        benchmark::DoNotOptimize(postcode::ImportPostcodeFiles({input}, output));
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_PostcodeImportUnclosedParenthesis)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
