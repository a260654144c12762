// Reading the 17 keys of a realistic settings file and writing them back, as start-up and shutdown do;
// and the column mapping of one layout read and written among many saved layouts.
#include "platform/Cp932Codec.h"
#include "platform/FileIO.h"
#include "platform/ProfileFile.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

const std::vector<std::pair<const char*, const char*>> kSettings = {
    {"Addr_Font", "1"},
    {"E_ZIP", "530-0001"},
    {"E_AD1", "大阪府大阪市北区梅田１丁目２番３号"},
    {"E_AD2", "大阪駅前第３ビル　１２階"},
    {"E_CUS", "株式会社　髙橋商店　御中"},
    {"E_TEL", "06-1234-5678"},
    {"E_G1", "衣料品"},
    {"E_G2", "精密機器　取扱注意"},
    {"E_G3", ""},
    {"KOSUU", "2"},
    {"OP023My", "有限会社　タヴォ"},
    {"OP023MyZip", "100-0001"},
    {"OP023MyADD1", "東京都千代田区千代田１－１"},
    {"OP023MyADD2", ""},
    {"OP023MyTEL", "03-0000-0000"},
    {"ComboBox_SEL", "0"},
    {"Tab_My", "3"},
};

struct SettingsFile {
    std::string dir;
    std::string path;
    SettingsFile() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "zaridi-bench.XXXXXX").string();
        dir = ::mkdtemp(tmpl.data());
        path = fileio::JoinPath(dir, "tavo_Zaridi2.ini");
        ProfileFile file(path);
        for (auto& [key, value] : kSettings)
            file.WriteString("tv_SAGAWAprn", key, cp932::FromUtf8(value));
        file.Save();
    }
    ~SettingsFile() { std::filesystem::remove_all(dir); }
};

void BM_ReadSeventeenKeys(benchmark::State& state) {
    SettingsFile settings;
    for (auto _ : state) {
        ProfileFile file(settings.path);
        for (auto& [key, value] : kSettings)
            benchmark::DoNotOptimize(file.ReadString("tv_SAGAWAprn", key, ""));
    }
}
BENCHMARK(BM_ReadSeventeenKeys);

void BM_WriteSeventeenKeysChanged(benchmark::State& state) {
    SettingsFile settings;
    int round = 0;
    for (auto _ : state) {
        ProfileFile file(settings.path);
        for (auto& [key, value] : kSettings)
            file.WriteString("tv_SAGAWAprn", key, cp932::FromUtf8(value) + std::to_string(round));
        file.Save();
        ++round;
    }
}
BENCHMARK(BM_WriteSeventeenKeysChanged)->Unit(benchmark::kMicrosecond);

// A mapping file after a year of different exports: one section per header row (its whole text as the
// name, hundreds of bytes each) with the 30 kinds of column. The wanted layout is the last one saved.
std::string ManyLayouts(int layouts) {
    std::string bytes;
    for (int l = 0; l < layouts; ++l) {
        bytes += "[";
        for (int c = 0; c < 40; ++c)
            bytes += cp932::FromUtf8("注文番号" + std::to_string(l) + "_" + std::to_string(c) + ",");
        bytes += "]\r\n";
        for (int k = 0; k < 30; ++k)
            bytes += "Column" + std::to_string(k) + "=#" + std::to_string(k + 1) + "\r\n";
    }
    return bytes;
}

std::string LastSectionName(const std::string& bytes) {
    std::size_t open = bytes.rfind('[');
    return bytes.substr(open + 1, bytes.find(']', open) - open - 1);
}

void BM_ReadMappingAmongLayouts(benchmark::State& state) {
    const std::string bytes = ManyLayouts(static_cast<int>(state.range(0)));
    const std::string section = LastSectionName(bytes);
    const ProfileFile file = ProfileFile::FromBytes("mapping.ini", bytes);
    for (auto _ : state)
        for (int k = 0; k < 30; ++k)
            benchmark::DoNotOptimize(file.ReadString(section, "column" + std::to_string(k), ""));
}
BENCHMARK(BM_ReadMappingAmongLayouts)->Arg(1)->Arg(50)->Unit(benchmark::kMicrosecond);

void BM_WriteMappingAmongLayouts(benchmark::State& state) {
    const std::string bytes = ManyLayouts(static_cast<int>(state.range(0)));
    const std::string section = LastSectionName(bytes);
    const ProfileFile loaded = ProfileFile::FromBytes("mapping.ini", bytes);
    for (auto _ : state) {
        ProfileFile file = loaded;
        for (int k = 0; k < 30; ++k)
            file.WriteString(section, "Column" + std::to_string(k), "#" + std::to_string(30 - k));
        benchmark::DoNotOptimize(file.Bytes());
    }
}
BENCHMARK(BM_WriteMappingAmongLayouts)->Arg(1)->Arg(50)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
