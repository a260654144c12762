// history list|record|shipped: the store of printed slips seen from outside, SQLite file or PostgreSQL
// URI, and the shipped files made from it.
#include "Probe.h"

#include "app/MainSettings.h"
#include "history/HistoryStore.h"
#include "history/ShippedSlips.h"
#include "platform/Cp932Codec.h"
#include "platform/ProfileFile.h"
#include "shipped/ShippedFile.h"

#include <filesystem>

#include <iostream>
#include <nlohmann/json.hpp>

namespace probe {
namespace {

using Json = nlohmann::ordered_json;

const char* const kUsage = "history list --db FILE|postgresql://URI [--since yyyy-MM-dd] | "
                           "history record --db FILE|postgresql://URI < record.json | "
                           "history shipped --db FILE|postgresql://URI --format generic|rakuten|amazon "
                           "[--from yyyy-MM-dd] [--to yyyy-MM-dd]";

Json Utf8(const std::string& cp) {
    return cp932::ToUtf8(cp);
}

Json OrNull(const std::string& cp) {
    return cp.empty() ? Json(nullptr) : Utf8(cp);
}

Json ToJson(const history::HistoryRecord& r) {
    Json j;
    j["id"] = r.id;
    j["time"] = r.time;
    j["printer"] = Utf8(r.printer);
    j["resolution"] = {r.resolutionX, r.resolutionY};
    j["margins"] = {r.marginTop, r.marginLeft};
    for (const slip::Field& f : slip::kFields)
        j[f.name] = f.text ? Utf8(r.values.*f.text) : Json(r.values.*f.flag);
    j["tracking"] = OrNull(r.tracking);
    j["order"] = OrNull(r.order);
    j["platform"] = OrNull(r.platform);
    j["refs"] = Json::object();
    for (const auto& [name, value] : r.refs)
        j["refs"][cp932::ToUtf8(name)] = Utf8(value);
    j["void"] = r.isVoid;
    j["reprint_of"] = r.reprintOf ? Json(*r.reprintOf) : Json(nullptr);
    return j;
}

// The same keys as the list prints (id left out); missing ones keep the record's defaults.
history::HistoryRecord FromJson(const Json& j) {
    auto text = [&](const char* key) {
        const Json& v = j.contains(key) ? j.at(key) : Json(nullptr);
        return v.is_null() ? std::string() : cp932::FromUtf8(v.get<std::string>());
    };
    history::HistoryRecord r;
    r.uuid = text("uuid");
    r.time = text("time");
    r.printer = text("printer");
    if (j.contains("resolution")) {
        r.resolutionX = j.at("resolution").at(0).get<std::int32_t>();
        r.resolutionY = j.at("resolution").at(1).get<std::int32_t>();
    }
    if (j.contains("margins")) {
        r.marginTop = j.at("margins").at(0).get<std::int32_t>();
        r.marginLeft = j.at("margins").at(1).get<std::int32_t>();
    }
    for (const slip::Field& f : slip::kFields) {
        if (!j.contains(f.name)) continue;
        if (f.text)
            r.values.*f.text = text(f.name);
        else
            r.values.*f.flag = j.at(f.name).get<bool>();
    }
    r.tracking = text("tracking");
    r.order = text("order");
    r.platform = text("platform");
    if (j.contains("refs") && !j.at("refs").is_null())
        for (const auto& [name, value] : j.at("refs").items())
            r.refs[cp932::FromUtf8(name)] = cp932::FromUtf8(value.get<std::string>());
    if (j.contains("void")) r.isVoid = j.at("void").get<bool>();
    if (j.contains("reprint_of") && !j.at("reprint_of").is_null())
        r.reprintOf = j.at("reprint_of").get<std::int64_t>();
    return r;
}

// The file the history window writes for these days, to stdout byte for byte; the slips left out of it,
// and an order's numbers it has no row for, on stderr. The carrier is the setting of the settings file
// beside an SQLite history (the window's working folder), else the default.
int Shipped(history::Store& store, const std::string& db, const std::string& formatName,
            const std::string& from, const std::string& to) {
    shipped::Carrier carrier = shipped::Carrier::Sagawa;
    const history::StoreLocation where = history::LocationFromArgument(db);
    if (!where.IsPostgres())
        carrier = shipped::CarrierFromSettings(ProfileFile(
            SettingsFilePath(std::filesystem::absolute(where.sqlitePath).parent_path().string())));
    const auto slips = history::ShippedSlips(store, from, to);
    const shipped::ShippedFile file =
        shipped::BuildShippedFile(*shipped::FindShippedFormat(formatName), slips, carrier);
    for (const shipped::ApartSlip& apart : file.apart)
        std::cerr << "left out: " << slips[apart.slip].record << " "
                  << cp932::ToUtf8(shipped::ApartReasonText(apart.reason)) << "\n";
    for (const shipped::ExtraNumbers& extra : file.extra)
        for (const std::string& number : extra.numbers)
            std::cerr << "no row: " << cp932::ToUtf8(extra.order) << " " << cp932::ToUtf8(number) << "\n";
    std::cout << file.bytes << std::flush;
    return 0;
}

} // namespace

int History(const Args& a) {
    if (a.empty()) throw UsageError{kUsage};
    std::string db, since, format, from, to;
    for (std::size_t i = 1; i < a.size(); ++i) {
        const bool value = i + 1 < a.size();
        if (a[i] == "--db" && value)
            db = a[++i];
        else if (a[i] == "--since" && value && a[0] == "list")
            since = a[++i];
        else if (a[i] == "--format" && value && a[0] == "shipped")
            format = a[++i];
        else if (a[i] == "--from" && value && a[0] == "shipped")
            from = a[++i];
        else if (a[i] == "--to" && value && a[0] == "shipped")
            to = a[++i];
        else
            throw UsageError{kUsage};
    }
    if (db.empty() || (a[0] == "shipped" && !shipped::FindShippedFormat(format))) throw UsageError{kUsage};
    auto store = history::OpenStore(history::LocationFromArgument(db));
    if (a[0] == "shipped") return Shipped(*store, db, format, from, to);

    if (a[0] == "list") {
        history::SearchQuery q;
        q.from = since;
        q.limit = 0;
        q.oldestFirst = true;
        Json out = Json::array();
        for (const history::HistoryRecord& r : store->Search(q))
            out.push_back(ToJson(r));
        std::cout << out.dump(2) << "\n";
        return 0;
    }
    if (a[0] == "record") {
        Json in;
        try {
            in = Json::parse(ReadStdin());
            if (!in.is_array()) in = Json::array({in});
            std::vector<history::HistoryRecord> records;
            for (const Json& j : in)
                records.push_back(FromJson(j));
            for (std::int64_t id : store->InsertAll(records))
                std::cout << id << "\n";
        } catch (const Json::exception& e) {
            std::cerr << "history record: " << e.what() << "\n";
            return 1;
        }
        return 0;
    }
    throw UsageError{kUsage};
}

} // namespace probe
