#pragma once
// A temporary folder for one benchmark, removed with everything in it.
#include "platform/FileIO.h"

#include <cstdlib>
#include <filesystem>
#include <string>

struct BenchFolder {
    std::string dir;
    BenchFolder() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "zaridi-bench.XXXXXX").string();
        dir = ::mkdtemp(tmpl.data());
    }
    ~BenchFolder() { std::filesystem::remove_all(dir); }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;
    std::string File(const char* name) const { return fileio::JoinPath(dir, name); }
};
