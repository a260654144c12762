#pragma once
// Profile (INI) files with the semantics stored files rely on: case-insensitive ASCII section and key
// names, the first of duplicates wins, quoted values, CP932 text (UTF-8 when the file starts with a
// byte-order mark). Writes touch only the line they change and replace the file atomically.
#include "platform/Cp932.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class ProfileFile {
public:
    // Reads the file at once; a missing or unreadable file reads as empty.
    explicit ProfileFile(std::string path);

    // Parses `bytes` as the content of the file at `path`, without touching the disk.
    static ProfileFile FromBytes(std::string path, std::string_view bytes);

    const std::string& Path() const { return path_; }

    // The file's content as Save() would write it.
    std::string Bytes() const;

    // Names and values are CP932. A missing key gives `def`; "KEY=" gives "".
    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    // Signed 32-bit decimal, or hexadecimal after "$" or "0x"; anything else gives `def`.
    std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const;

    // Change the copy in memory; Save() puts it on disk.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);

    // Replaces the file atomically when anything changed. On failure raises EInOutError
    // "<path> に書き込めません" and leaves the file exactly as it was.
    void Save();

    static constexpr std::size_t kMaxValueBytes = cp932::kLongestText;

private:
    struct Line {
        std::string raw;  // bytes as in the file, without the line end
        std::string eol;  // "\r\n", "\n" or "" on a last line without one
        std::string text; // `raw` as CP932
        // What `text` is, worked out when it is set rather than on every lookup: a section header and
        // its name, or a key line with its name and the position of "=" (npos on any other line).
        bool header = false;
        std::string name;
        std::string folded; // `name` with every ASCII letter in capitals: a cheap first test of a match
        std::size_t eq = std::string::npos;
    };
    struct Range {
        std::size_t begin, end; // lines of the section, after its header
        bool found;
    };

    ProfileFile() = default;
    void Parse(std::string_view bytes);
    Range FindSection(std::string_view section) const;
    std::size_t FindKey(const Range& r, std::string_view key) const; // line index or npos
    // `line` is named `wanted` but for ASCII case; `folded` is `wanted` with its ASCII letters in capitals.
    static bool Matches(const Line& line, const std::string& wanted, const std::string& folded);
    static Line MakeLine(std::string raw, std::string eol, std::string text);
    static void SetText(Line& line, std::string text);
    std::string TextToRaw(const std::string& text) const;
    void InsertLine(std::size_t at, const std::string& text);
    [[noreturn]] void ThrowWriteError() const;

    std::string path_;
    bool utf8_ = false;
    bool loadFailed_ = false;
    bool dirty_ = false;
    std::vector<Line> lines_;
};

// One read or one write per call, as the design's profile functions do.
std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view def);
std::int32_t ReadProfileInteger(const std::string& path, std::string_view section, std::string_view key,
                                std::int32_t def);
void WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);
void WriteProfileInteger(const std::string& path, std::string_view section, std::string_view key,
                         std::int32_t value);
