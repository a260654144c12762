#include "postcode/Index.h"

#include "platform/Cp932.h"
#include "platform/Cp932Codec.h"
#include "platform/FileIO.h"
#include "postcode/IndexFormat.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>

namespace postcode {

using namespace format;

namespace {

EPostcodeData Fail(EPostcodeData::Reason reason, const std::string& path, const char* why) {
    return EPostcodeData(reason,
                         cp932::FromUtf8("郵便番号データを使えません（" + std::string(why) + "）: " + path));
}

std::string CodeText(std::uint32_t code) {
    std::string s(7, '0');
    for (int i = 6; i >= 0; --i, code /= 10)
        s[static_cast<std::size_t>(i)] = static_cast<char>('0' + code % 10);
    return s;
}

// Compares the concatenation of `parts` with `s` as bytes.
int CompareParts(const std::string_view (&parts)[3], std::string_view s) {
    std::size_t pos = 0;
    for (std::string_view p : parts) {
        std::size_t n = std::min(p.size(), s.size() - pos);
        if (int c = p.substr(0, n).compare(s.substr(pos, n))) return c;
        if (n < p.size()) return 1; // s ran out first
        pos += n;
    }
    return pos < s.size() ? -1 : 0;
}

} // namespace

std::string ChooseIndexPath(const std::string& settingsDir, const std::string& binDir) {
    std::string imported = fileio::JoinPath(settingsDir, kIndexFileName);
    struct stat st {};
    if (::stat(imported.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return imported;
    const std::string beside = fileio::JoinPath(binDir, kIndexFileName);
    if (::stat(beside.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return beside;
    // An installed program keeps its data in the share folder beside its bin folder.
    return fileio::JoinPath(binDir, "../share/tavo_Zaridi2/" + std::string(kIndexFileName));
}

std::unique_ptr<Index> Index::Open(const std::string& path) {
    using Reason = EPostcodeData::Reason;
    std::unique_ptr<Index> idx(new Index);
    try {
        auto bytes = fileio::ReadFileIfExists(path, kMaxIndexBytes);
        if (!bytes) throw Fail(Reason::Missing, path, "ファイルがありません");
        idx->bytes_ = std::move(*bytes);
    } catch (const EInOutError& e) {
        // These two messages name the file; the runtime's texts do not.
        if (e.ErrorCode() == EFBIG || e.ErrorCode() == EINVAL)
            throw EPostcodeData(Reason::Unreadable,
                                cp932::FromUtf8("郵便番号データを使えません: ") + e.Message());
        throw Fail(Reason::Unreadable, path, "読めません");
    }
    const std::string& file = idx->bytes_;
    const std::size_t size = file.size();
    const char* h = file.data();
    if (size < kMagic.size() || std::string_view(h, kMagic.size()) != kMagic)
        throw Fail(Reason::NotAnIndex, path, "郵便番号データではありません");
    if (size < kHeaderSize) throw Fail(Reason::Truncated, path, "途中で切れています");
    if (Get32(h + 8) != kVersion || Get32(h + 12) != kHeaderSize)
        throw Fail(Reason::WrongVersion, path, "形式の版が違います");
    if (Get64(h + 16) != size) throw Fail(Reason::Truncated, path, "途中で切れています");
    if (Get32(h + kChecksumOffset) != Checksum(file)) throw Fail(Reason::Damaged, path, "壊れています");

    const char* sectionBase[kSectionCount];
    std::size_t sectionCount[kSectionCount];
    for (int s = 0; s < kSectionCount; ++s) {
        const std::uint64_t offset = Get32(h + kSectionsOffset + 8 * s);
        const std::uint64_t count = Get32(h + kSectionsOffset + 8 * s + 4);
        if (offset < kHeaderSize || offset + count * kRecordSize[s] > size)
            throw Fail(Reason::Truncated, path, "途中で切れています");
        sectionBase[s] = h + offset;
        sectionCount[s] = static_cast<std::size_t>(count);
    }
    if (sectionCount[kStrings] == 0 || sectionBase[kStrings][0] != 0)
        throw Fail(Reason::NotAnIndex, path, "郵便番号データではありません");

    idx->strings_ = sectionBase[kStrings];
    idx->stringsSize_ = sectionCount[kStrings];
    idx->cities_ = sectionBase[kCities];
    idx->cityCount_ = sectionCount[kCities];
    idx->extras_ = sectionBase[kExtras];
    idx->extraCount_ = sectionCount[kExtras];
    idx->entries_ = sectionBase[kEntries];
    idx->entryCount_ = sectionCount[kEntries];
    idx->towns_ = sectionBase[kTowns];
    idx->townCount_ = sectionCount[kTowns];
    const char* date = h + kDateOffset;
    idx->date_.assign(date, std::find(date, date + kDateSize, '\0'));
    idx->standard_ = Get32(h + kCountsOffset);
    idx->business_ = Get32(h + kCountsOffset + 4);
    idx->codes_ = Get32(h + kCountsOffset + 8);
    return idx;
}

std::string_view Index::Text(std::uint32_t offset) const {
    if (offset >= stringsSize_) return {};
    const auto len = static_cast<unsigned char>(strings_[offset]);
    if (len > stringsSize_ - offset - 1) return {};
    return {strings_ + offset + 1, len};
}

std::uint32_t Index::CodeAt(std::size_t i) const {
    return Get32(entries_ + i * kRecordSize[kEntries]);
}

EntryView Index::EntryAt(std::size_t i) const {
    EntryView v;
    if (i >= entryCount_) return v;
    const char* e = entries_ + i * kRecordSize[kEntries];
    v.code = Get32(e);
    const std::uint16_t city = Get16(e + 4);
    v.business = (Get16(e + 6) & kFlagBusiness) != 0;
    v.town = Text(Get32(e + 8));
    if (city < cityCount_) {
        const char* c = cities_ + city * kRecordSize[kCities];
        v.pref = Text(Get32(c));
        v.city = Text(Get32(c + 4));
    }
    const std::uint32_t extra = Get32(e + 12);
    if (extra < extraCount_) {
        const char* x = extras_ + static_cast<std::size_t>(extra) * kRecordSize[kExtras];
        v.street = Text(Get32(x));
        v.office = Text(Get32(x + 4));
        v.chome = Text(Get32(x + 8));
    }
    return v;
}

std::vector<EntryView> Index::Entries(std::uint32_t code) const {
    std::size_t lo = 0, hi = entryCount_;
    while (lo < hi) {
        std::size_t mid = lo + (hi - lo) / 2;
        if (CodeAt(mid) < code)
            lo = mid + 1;
        else
            hi = mid;
    }
    std::vector<EntryView> out;
    for (std::size_t i = lo; i < entryCount_ && CodeAt(i) == code; ++i)
        out.push_back(EntryAt(i));
    return out;
}

std::vector<Entry> Index::Lookup(std::string_view code) const {
    std::vector<Entry> out;
    if (code.size() != 7 ||
        !std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return out;
    std::uint32_t n = 0;
    for (char c : code)
        n = n * 10 + static_cast<std::uint32_t>(c - '0');
    for (const EntryView& v : Entries(n))
        out.push_back(Entry{std::string(code), std::string(v.pref), std::string(v.city), std::string(v.town),
                            std::string(v.street), std::string(v.office), std::string(v.chome), v.business});
    return out;
}

void Index::TownKey(std::size_t i, std::string_view (&parts)[3]) const {
    const EntryView v = EntryAt(i);
    parts[0] = v.pref;
    parts[1] = v.city;
    parts[2] = v.town;
}

std::vector<std::string> Index::Find(std::string_view address) const {
    std::vector<std::string> codes;
    auto keyOf = [&](std::size_t t, std::string_view(&parts)[3]) {
        TownKey(Get32(towns_ + t * kRecordSize[kTowns]), parts);
    };
    // The longest prefix first: the first length with any entry decides.
    std::vector<std::size_t> ends;
    for (std::size_t i = 0; i < address.size(); i = cp932::NextChar(address, i))
        ends.push_back(cp932::NextChar(address, i));
    for (auto it = ends.rbegin(); it != ends.rend() && codes.empty(); ++it) {
        const std::string_view prefix = address.substr(0, *it);
        std::string_view parts[3];
        std::size_t lo = 0, hi = townCount_;
        while (lo < hi) {
            std::size_t mid = lo + (hi - lo) / 2;
            keyOf(mid, parts);
            if (CompareParts(parts, prefix) < 0)
                lo = mid + 1;
            else
                hi = mid;
        }
        for (std::size_t t = lo; t < townCount_; ++t) {
            keyOf(t, parts);
            if (CompareParts(parts, prefix) != 0) break;
            const std::size_t e = Get32(towns_ + t * kRecordSize[kTowns]);
            if (e < entryCount_) codes.push_back(CodeText(CodeAt(e)));
        }
    }
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    return codes;
}

void IndexHolder::Reset(std::string path) {
    path_ = std::move(path);
    index_.reset();
    tried_ = noticeTaken_ = false;
    error_.clear();
}

const Index* IndexHolder::Get() {
    if (!tried_) {
        tried_ = true;
        try {
            index_ = Index::Open(path_);
        } catch (const EPostcodeData& e) {
            error_ = e.Message();
        }
    }
    return index_.get();
}

bool IndexHolder::TakeUnavailableNotice() {
    if (!tried_ || index_ || noticeTaken_) return false;
    noticeTaken_ = true;
    return true;
}

} // namespace postcode
