// history list|record: the store of printed slips seen from outside, SQLite file or PostgreSQL URI.
#include "Probe.h"

#include "history/HistoryStore.h"
#include "platform/Cp932Codec.h"

#include <iostream>
#include <nlohmann/json.hpp>

namespace probe {
namespace {

using Json = nlohmann::ordered_json;

const char* const kUsage = "history list --db FILE|postgresql://URI [--since yyyy-MM-dd] | "
                           "history record --db FILE|postgresql://URI < record.json";

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

} // namespace

int History(const Args& a) {
    if (a.empty()) throw UsageError{kUsage};
    std::string db, since;
    for (std::size_t i = 1; i < a.size(); ++i) {
        if (a[i] == "--db" && i + 1 < a.size())
            db = a[++i];
        else if (a[i] == "--since" && i + 1 < a.size() && a[0] == "list")
            since = a[++i];
        else
            throw UsageError{kUsage};
    }
    if (db.empty()) throw UsageError{kUsage};
    auto store = history::OpenStore(history::LocationFromArgument(db));

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
