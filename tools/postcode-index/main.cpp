// postcode-index: converts the packaged postcode data (JSONP files of rows
// ["_" + code, prefecture, city, town, street, office, kana...]) into the index beside the program.
#include "platform/Cp932Codec.h"
#include "platform/FileIO.h"
#include "platform/RuntimeErrors.h"
#include "postcode/IndexBuilder.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <regex>

namespace {

// The date of the data: the last YYYY-MM-DD of the info row ("ver2.13 2025-09-25 2025-09-30").
std::string InfoDate(const std::string& info) {
    static const std::regex date(R"(\d{4}-\d{2}-\d{2})");
    std::string last;
    for (auto it = std::sregex_iterator(info.begin(), info.end(), date); it != std::sregex_iterator(); ++it)
        last = it->str();
    return last;
}

bool IsCodeKey(const std::string& key) {
    return key.size() == 8 && key[0] == '_' &&
           std::all_of(key.begin() + 1, key.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: postcode-index JSON_DIR OUTPUT\n";
        return 2;
    }
    try {
        std::vector<std::filesystem::path> files;
        for (const auto& e : std::filesystem::directory_iterator(argv[1]))
            if (e.path().extension() == ".json") files.push_back(e.path());
        std::sort(files.begin(), files.end());
        if (files.empty()) throw std::runtime_error(std::string("no .json files in ") + argv[1]);

        postcode::IndexBuilder builder;
        std::string date;
        for (const auto& path : files) {
            const std::string text = fileio::ReadFile(path.string());
            // Each file is one JSONP call: NAME([...]);
            const auto open = text.find('('), close = text.rfind(')');
            if (open == std::string::npos || close == std::string::npos || close < open)
                throw std::runtime_error(path.string() + ": not a JSONP file");
            const auto rows = nlohmann::json::parse(text.begin() + static_cast<long>(open) + 1,
                                                    text.begin() + static_cast<long>(close));
            for (const auto& r : rows) {
                if (!r.is_array() || r.size() < 6)
                    throw std::runtime_error(path.string() + ": unexpected row");
                const std::string key = r[0].get<std::string>();
                if (key.ends_with("info")) date = InfoDate(r[2].get<std::string>());
                if (!IsCodeKey(key)) continue; // 3-digit prefix rows and the info row
                auto field = [&](int i) {
                    return cp932::FromUtf8(r[static_cast<std::size_t>(i)].get<std::string>());
                };
                std::string office = field(5);
                const bool business = !office.empty();
                builder.Add(postcode::Row{
                    key.substr(1), field(1), field(2), field(3), field(4), std::move(office), {}, business});
            }
        }
        fileio::WriteFileAtomic(argv[2], builder.Build(date));
        std::cout << "postcode-index: " << builder.StandardRows() << " address rows, "
                  << builder.BusinessRows() << " business rows, " << builder.Codes() << " codes, data of "
                  << (date.empty() ? "?" : date) << " -> " << argv[2] << "\n";
        return 0;
    } catch (const Exception& e) {
        std::cerr << "postcode-index: " << cp932::ToUtf8(e.Message()) << "\n";
    } catch (const std::exception& e) {
        std::cerr << "postcode-index: " << e.what() << "\n";
    }
    return 1;
}
