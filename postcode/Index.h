#pragma once
// The postcode data: a read-only index file (see IndexFormat.h) read into memory on first use.
//
// For the window glue:
//   IndexHolder holder(ChooseIndexPath(settingsDir, binDir));   // nothing is opened yet
//   if (const Index* idx = holder.Get()) { ... idx->Lookup(code) / CheckAddress(*idx, ...) / idx->Find(...) }
//   else if (holder.TakeUnavailableNotice()) show kDataUnavailable (Messages.h) once in the help bar.
// All texts are CP932.
#include "platform/RuntimeErrors.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace postcode {

// The file name of the index, both beside the program and beside the settings after an import.
inline constexpr const char* kIndexFileName = "postcode.idx";
// The official data makes about 5 MB; a file far beyond that is not an index.
inline constexpr std::size_t kMaxIndexBytes = std::size_t{64} << 20;

// The index next to the settings (written by an import) when there is one, else the one beside the
// program, else the installed one in ../share/tavo_Zaridi2 from the program's folder.
std::string ChooseIndexPath(const std::string& settingsDir, const std::string& binDir);

// An index that cannot be used. The message names the file and the cause.
class EPostcodeData : public Exception {
public:
    enum class Reason { Missing, Unreadable, NotAnIndex, WrongVersion, Truncated, Damaged };
    EPostcodeData(Reason reason, std::string message) : Exception(std::move(message)), reason_(reason) {}
    Reason Why() const { return reason_; }

private:
    Reason reason_;
};

// One row of the data for a code.
struct Entry {
    std::string code; // 7 half-width digits
    std::string pref, city, town;
    std::string street, office; // a business-office code's street address and name
    std::string chome;          // chōme the town is limited to, "1-19,21"; empty when not limited
    bool business = false;
};

// The same, pointing into the mapped file; valid while the Index lives.
struct EntryView {
    std::uint32_t code = 0;
    std::string_view pref, city, town, street, office, chome;
    bool business = false;
};

class Index {
public:
    // Reads the file and checks its header, its checksum and the bounds of every section; EPostcodeData
    // when the file is missing, unreadable, not an index, of another version, truncated or damaged.
    // Anything inside that still points out of bounds later reads as empty text, never past the file.
    // The index keeps its own copy: a file replaced or cut while in use changes nothing.
    static std::unique_ptr<Index> Open(const std::string& path);
    ~Index() = default;
    Index(const Index&) = delete;
    Index& operator=(const Index&) = delete;

    // The entries of a 7-digit code (NormalizeCode's output), in the data's order; none when unknown.
    std::vector<Entry> Lookup(std::string_view code) const;
    std::vector<EntryView> Entries(std::uint32_t code) const;

    // Every standard (not business-office) code whose prefecture + city + town is the longest exact
    // byte match at the start of `address`, sorted, each once. No tolerances.
    std::vector<std::string> Find(std::string_view address) const;

    const std::string& DataDate() const { return date_; } // "YYYY-MM-DD", "" when unknown
    std::uint32_t StandardEntries() const { return standard_; }
    std::uint32_t BusinessEntries() const { return business_; }
    std::uint32_t Codes() const { return codes_; }
    std::size_t EntryCount() const { return entryCount_; }
    EntryView EntryAt(std::size_t i) const;

private:
    Index() = default;
    std::string_view Text(std::uint32_t offset) const;
    std::uint32_t CodeAt(std::size_t i) const;
    // Prefecture + city + town of entry i, as up to three pieces.
    void TownKey(std::size_t i, std::string_view (&parts)[3]) const;

    std::string bytes_;
    std::string date_;
    std::uint32_t standard_ = 0, business_ = 0, codes_ = 0;
    const char* strings_ = nullptr;
    std::size_t stringsSize_ = 0;
    const char* cities_ = nullptr;
    std::size_t cityCount_ = 0;
    const char* extras_ = nullptr;
    std::size_t extraCount_ = 0;
    const char* entries_ = nullptr;
    std::size_t entryCount_ = 0;
    const char* towns_ = nullptr;
    std::size_t townCount_ = 0;
};

// Opens the index on first use and keeps it open; a failure is remembered, not retried, so a missing
// file costs nothing after the first try.
class IndexHolder {
public:
    explicit IndexHolder(std::string path = {}) : path_(std::move(path)) {}
    // Drops the open index (an import wrote a new one); the next Get opens `path`.
    void Reset(std::string path);
    const std::string& Path() const { return path_; }

    // The index, or nullptr when it cannot be used.
    const Index* Get();
    // The reason Get returned nullptr (CP932), "" otherwise.
    const std::string& Error() const { return error_; }
    // True once after a failed Get, so the unavailability is told only once.
    bool TakeUnavailableNotice();

private:
    std::string path_;
    std::unique_ptr<Index> index_;
    bool tried_ = false;
    bool noticeTaken_ = false;
    std::string error_;
};

} // namespace postcode
