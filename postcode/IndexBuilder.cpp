#include "postcode/IndexBuilder.h"

#include "platform/Cp932.h"
#include "platform/RuntimeErrors.h"
#include "postcode/IndexFormat.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <numeric>
#include <unordered_map>

namespace postcode {

using namespace format;

namespace {

std::uint32_t CodeNumber(std::string_view code) {
    std::uint32_t n = 0;
    for (char c : code)
        n = n * 10 + static_cast<std::uint32_t>(c - '0');
    return n;
}

void Put32(std::string& out, std::uint32_t v) {
    out.append(reinterpret_cast<const char*>(&v), sizeof v);
}
void Put16(std::string& out, std::uint16_t v) {
    out.append(reinterpret_cast<const char*>(&v), sizeof v);
}

class StringTable {
public:
    StringTable() : blob_(1, '\0') {}
    std::uint32_t Add(std::string_view text) {
        const std::string cut = cp932::CutBytes(text, kMaxText);
        if (cut.empty()) return 0;
        auto [it, added] = offsets_.try_emplace(cut, static_cast<std::uint32_t>(blob_.size()));
        if (added) {
            blob_ += static_cast<char>(cut.size());
            blob_ += cut;
        }
        return it->second;
    }
    const std::string& Blob() const { return blob_; }

private:
    std::string blob_;
    std::unordered_map<std::string, std::uint32_t> offsets_;
};

} // namespace

bool IndexBuilder::Add(Row row) {
    if (row.code.size() != 7 ||
        !std::all_of(row.code.begin(), row.code.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    std::string key;
    for (const std::string* f :
         {&row.code, &row.pref, &row.city, &row.town, &row.street, &row.office, &row.chome})
        key += *f + '\0';
    key += row.business ? '1' : '0';
    if (!seen_.insert(std::move(key)).second) return true;
    ++(row.business ? business_ : standard_);
    rows_.push_back(std::move(row));
    return true;
}

std::size_t IndexBuilder::Codes() const {
    std::unordered_set<std::string_view> codes;
    for (const Row& r : rows_)
        codes.insert(r.code);
    return codes.size();
}

std::string IndexBuilder::Build(std::string_view dataDate) const {
    std::vector<std::size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return rows_[a].code < rows_[b].code; });

    StringTable strings;
    std::map<std::pair<std::string, std::string>, std::uint16_t> cityIds;
    std::string cities, extras, entries;
    std::uint32_t extraCount = 0;
    for (std::size_t i : order) {
        const Row& r = rows_[i];
        auto [it, added] = cityIds.try_emplace({r.pref, r.city}, static_cast<std::uint16_t>(cityIds.size()));
        if (added) {
            if (cityIds.size() > 0xFFFF) throw Exception("postcode index: too many cities");
            Put32(cities, strings.Add(r.pref));
            Put32(cities, strings.Add(r.city));
        }
        std::uint32_t extra = kNoExtra;
        if (!r.street.empty() || !r.office.empty() || !r.chome.empty()) {
            extra = extraCount++;
            Put32(extras, strings.Add(r.street));
            Put32(extras, strings.Add(r.office));
            Put32(extras, strings.Add(r.chome));
        }
        Put32(entries, CodeNumber(r.code));
        Put16(entries, it->second);
        Put16(entries, r.business ? kFlagBusiness : 0);
        Put32(entries, strings.Add(r.town));
        Put32(entries, extra);
    }

    // Standard entries by prefecture + city + town, as the reader compares them (texts as cut).
    std::vector<std::uint32_t> towns;
    std::vector<std::string> keys(order.size());
    for (std::uint32_t e = 0; e < order.size(); ++e) {
        const Row& r = rows_[order[e]];
        if (r.business) continue;
        towns.push_back(e);
        keys[e] = cp932::CutBytes(r.pref, kMaxText) + cp932::CutBytes(r.city, kMaxText) +
                  cp932::CutBytes(r.town, kMaxText);
    }
    std::stable_sort(towns.begin(), towns.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
    std::string townBytes;
    for (std::uint32_t e : towns)
        Put32(townBytes, e);

    const std::string* sections[kSectionCount] = {&strings.Blob(), &cities, &extras, &entries, &townBytes};
    std::string out(kHeaderSize, '\0');
    std::uint32_t sectionTable[kSectionCount][2];
    for (int s = 0; s < kSectionCount; ++s) {
        sectionTable[s][0] = static_cast<std::uint32_t>(out.size());
        sectionTable[s][1] = static_cast<std::uint32_t>(sections[s]->size() / kRecordSize[s]);
        out += *sections[s];
    }
    std::string header;
    header += kMagic;
    Put32(header, kVersion);
    Put32(header, kHeaderSize);
    const std::uint64_t size = out.size();
    header.append(reinterpret_cast<const char*>(&size), sizeof size);
    std::string date(dataDate.substr(0, kDateSize - 1));
    date.resize(kDateSize, '\0');
    header += date;
    Put32(header, static_cast<std::uint32_t>(standard_));
    Put32(header, static_cast<std::uint32_t>(business_));
    Put32(header, static_cast<std::uint32_t>(Codes()));
    Put32(header, 0); // the checksum, once the rest is in place
    for (auto& s : sectionTable) {
        Put32(header, s[0]);
        Put32(header, s[1]);
    }
    out.replace(0, header.size(), header);
    const std::uint32_t checksum = Checksum(out);
    std::memcpy(out.data() + kChecksumOffset, &checksum, sizeof checksum);
    return out;
}

} // namespace postcode
