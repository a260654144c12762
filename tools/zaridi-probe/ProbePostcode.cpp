// postcode: the postcode data's lookup, address check, address search and import, one request per line.
#include "Probe.h"

#include "platform/Cp932Codec.h"
#include "postcode/Check.h"
#include "postcode/Code.h"
#include "postcode/Import.h"
#include "postcode/Index.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <iostream>

namespace probe {

namespace {

constexpr const char* kUsage = "postcode lookup|check|find|info [--data INDEX] < lines | postcode import "
                               "--data INDEX [--allow-shrink] FILE...";

std::string Utf8(std::string_view cp932Text) {
    return cp932::ToUtf8(std::string(cp932Text));
}

std::string BesideProgram() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return (exe.parent_path() / postcode::kIndexFileName).string();
}

nlohmann::ordered_json LookupLine(const postcode::Index& index, const std::string& line) {
    nlohmann::ordered_json out;
    const auto code = postcode::NormalizeCode(cp932::FromUtf8(line));
    out["zip"] = code ? nlohmann::ordered_json(*code) : nlohmann::ordered_json(nullptr);
    out["entries"] = nlohmann::ordered_json::array();
    if (code)
        for (const postcode::Entry& e : index.Lookup(*code))
            out["entries"].push_back({{"pref", Utf8(e.pref)},
                                      {"city", Utf8(e.city)},
                                      {"town", Utf8(e.town)},
                                      {"street", Utf8(e.street)},
                                      {"office", Utf8(e.office)}});
    return out;
}

nlohmann::ordered_json CheckLine(const postcode::Index& index, const std::string& line) {
    const nlohmann::json in = line.empty() ? nlohmann::json::object() : nlohmann::json::parse(line);
    auto text = [&](const char* key) {
        return in.is_object() && in.contains(key) && in[key].is_string() ? in[key].get<std::string>()
                                                                         : std::string();
    };
    const postcode::CheckResult r =
        postcode::CheckAddress(index, cp932::FromUtf8(text("zip")), cp932::FromUtf8(text("address")));
    return {{"result", postcode::CheckKindName(r.kind)}, {"expected", Utf8(r.expected)}};
}

nlohmann::ordered_json FindLine(const postcode::Index& index, const std::string& line) {
    return {{"zips", index.Find(cp932::FromUtf8(line))}};
}

} // namespace

int Postcode(const Args& a) {
    if (a.empty()) throw UsageError{kUsage};
    const std::string& verb = a[0];
    std::string data;
    std::vector<std::string> files;
    bool allowShrink = false;
    for (std::size_t i = 1; i < a.size(); ++i) {
        if (a[i] == "--data" && i + 1 < a.size())
            data = a[++i];
        else if (verb == "import" && a[i] == "--allow-shrink")
            allowShrink = true;
        else if (verb == "import")
            files.push_back(a[i]);
        else
            throw UsageError{kUsage};
    }
    if (verb == "import") {
        if (data.empty() || files.empty()) throw UsageError{kUsage};
        // No one to ask: a shrink goes ahead only when the command line says so.
        return postcode::RunImportPostcodes(files, data, data, std::cout, std::cerr,
                                            [&](const std::string&) { return allowShrink; });
    }

    nlohmann::ordered_json (*each)(const postcode::Index&, const std::string&) = nullptr;
    if (verb == "lookup")
        each = LookupLine;
    else if (verb == "check")
        each = CheckLine;
    else if (verb == "find")
        each = FindLine;
    else if (verb != "info")
        throw UsageError{kUsage};

    const auto index = postcode::Index::Open(data.empty() ? BesideProgram() : data);
    if (!each) {
        std::cout << nlohmann::ordered_json{{"date", index->DataDate()},
                                            {"standard", index->StandardEntries()},
                                            {"business", index->BusinessEntries()},
                                            {"codes", index->Codes()}}
                         .dump()
                  << "\n";
        return 0;
    }
    for (const std::string& line : SplitLines(ReadStdin()))
        std::cout << each(*index, line).dump() << "\n";
    return 0;
}

} // namespace probe
