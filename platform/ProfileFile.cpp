#include "platform/ProfileFile.h"

#include "platform/Conversions.h"
#include "platform/Cp932.h"
#include "platform/Cp932Codec.h"
#include "platform/FileIO.h"
#include "platform/RuntimeErrors.h"

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kCrLf = "\r\n";

// The section name when `text` is a header line.
bool ParseHeader(std::string_view text, std::string& name) {
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= 0x20)
        ++i;
    if (i == text.size() || text[i] != '[') return false;
    std::string_view rest = text.substr(i + 1);
    std::size_t close = cp932::FindChar(rest, ']');
    if (close == std::string_view::npos) return false;
    name = cp932::PlainTrim(rest.substr(0, close));
    return true;
}

// Position of "=" when `text` is a key line.
std::size_t KeySeparator(std::string_view text) {
    return cp932::FindChar(text, '=');
}

std::string ParseValue(std::string_view text, std::size_t eq) {
    std::string_view v = text.substr(eq + 1);
    if (std::size_t nul = v.find('\0'); nul != std::string_view::npos) v = v.substr(0, nul);
    std::string value = cp932::PlainTrim(v);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.front() == value.back())
        value = value.substr(1, value.size() - 2);
    return value;
}

// What a value reads back as at best: cut at NUL (the end of a C string), line breaks as blanks.
std::string NormalizeValue(std::string_view value) {
    std::string v(value.substr(0, value.find('\0')));
    for (char& c : v)
        if (c == '\r' || c == '\n') c = ' ';
    return v;
}

// A value that reading would trim or unquote gets one extra pair of quotes, so it reads back exactly.
std::string EncodeValue(const std::string& v) {
    bool needsQuotes =
        !v.empty() &&
        (static_cast<unsigned char>(v.front()) <= 0x20 || static_cast<unsigned char>(v.back()) <= 0x20 ||
         (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.front() == v.back()));
    return needsQuotes ? "\"" + v + "\"" : v;
}

// Names equal but for ASCII case fold equal. Trail bytes are folded too, so the converse does not
// hold: a match is confirmed with EqualsIgnoreAsciiCase.
std::string FoldAll(std::string_view name) {
    std::string out(name);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string CleanName(std::string_view name) {
    return cp932::PlainTrim(name.substr(0, name.find('\0')));
}

} // namespace

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {
    std::string bytes;
    try {
        auto content = fileio::ReadFileIfExists(path_);
        if (!content) return;
        bytes = std::move(*content);
    } catch (const EInOutError&) {
        loadFailed_ = true;
        return;
    }
    Parse(bytes);
}

ProfileFile ProfileFile::FromBytes(std::string path, std::string_view bytes) {
    ProfileFile file;
    file.path_ = std::move(path);
    file.Parse(bytes);
    return file;
}

ProfileFile::Line ProfileFile::MakeLine(std::string raw, std::string eol, std::string text) {
    Line line;
    line.raw = std::move(raw);
    line.eol = std::move(eol);
    SetText(line, std::move(text));
    return line;
}

void ProfileFile::SetText(Line& line, std::string text) {
    line.text = std::move(text);
    line.name.clear();
    line.header = ParseHeader(line.text, line.name);
    line.eq = line.header ? std::string::npos : KeySeparator(line.text);
    if (line.eq != std::string::npos)
        line.name = cp932::PlainTrim(std::string_view(line.text).substr(0, line.eq));
    line.folded = FoldAll(line.name);
}

void ProfileFile::Parse(std::string_view rest) {
    if (rest.starts_with(kBom)) {
        utf8_ = true;
        rest.remove_prefix(kBom.size());
    }
    while (!rest.empty()) {
        std::size_t lf = rest.find('\n');
        std::string_view content = lf == std::string_view::npos ? rest : rest.substr(0, lf);
        std::size_t eolLen = lf == std::string_view::npos ? 0 : 1;
        if (eolLen && !content.empty() && content.back() == '\r') {
            content.remove_suffix(1);
            eolLen = 2;
        }
        std::string raw(content);
        std::string text = utf8_ ? cp932::FromUtf8(raw) : raw;
        lines_.push_back(
            MakeLine(std::move(raw), std::string(rest.substr(content.size(), eolLen)), std::move(text)));
        rest.remove_prefix(content.size() + eolLen);
    }
}

bool ProfileFile::Matches(const Line& line, const std::string& wanted, const std::string& folded) {
    return line.folded == folded && (line.name == wanted || cp932::EqualsIgnoreAsciiCase(line.name, wanted));
}

ProfileFile::Range ProfileFile::FindSection(std::string_view section) const {
    std::string wanted = CleanName(section);
    std::string folded = FoldAll(wanted);
    std::size_t i = 0;
    bool found = wanted.empty(); // keys before the first header form the section ""
    if (!found) {
        for (; i < lines_.size(); ++i) {
            if (lines_[i].header && Matches(lines_[i], wanted, folded)) {
                found = true;
                ++i;
                break;
            }
        }
    }
    if (!found) return {lines_.size(), lines_.size(), false};
    std::size_t end = i;
    while (end < lines_.size() && !lines_[end].header)
        ++end;
    return {i, end, true};
}

std::size_t ProfileFile::FindKey(const Range& r, std::string_view key) const {
    std::string wanted = CleanName(key);
    std::string folded = FoldAll(wanted);
    for (std::size_t i = r.begin; i < r.end; ++i)
        if (lines_[i].eq != std::string::npos && Matches(lines_[i], wanted, folded)) return i;
    return std::string::npos;
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view def) const {
    Range r = FindSection(section);
    std::size_t at = r.found ? FindKey(r, key) : std::string::npos;
    if (at == std::string::npos) return std::string(def);
    return cp932::CutBytes(ParseValue(lines_[at].text, lines_[at].eq), kMaxValueBytes);
}

std::int32_t ProfileFile::ReadInteger(std::string_view section, std::string_view key,
                                      std::int32_t def) const {
    Range r = FindSection(section);
    std::size_t at = r.found ? FindKey(r, key) : std::string::npos;
    if (at == std::string::npos) return def;
    return TryStrToInt(ParseValue(lines_[at].text, lines_[at].eq)).value_or(def);
}

std::string ProfileFile::TextToRaw(const std::string& text) const {
    return utf8_ ? cp932::ToUtf8(text) : text;
}

void ProfileFile::InsertLine(std::size_t at, const std::string& text) {
    if (at > 0 && lines_[at - 1].eol.empty()) lines_[at - 1].eol = kCrLf;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                  MakeLine(TextToRaw(text), std::string(kCrLf), text));
}

void ProfileFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    std::string v = NormalizeValue(value);
    std::string keyName = CleanName(key);
    Range r = FindSection(section);
    if (!r.found) {
        InsertLine(lines_.size(), "[" + CleanName(section) + "]");
        InsertLine(lines_.size(), keyName + "=" + EncodeValue(v));
        dirty_ = true;
        return;
    }
    std::size_t at = FindKey(r, keyName);
    if (at != std::string::npos) {
        Line& line = lines_[at];
        if (ParseValue(line.text, line.eq) == v) return;
        SetText(line, line.name + "=" + EncodeValue(v));
        line.raw = TextToRaw(line.text);
        line.eol = kCrLf;
        dirty_ = true;
        return;
    }
    std::size_t insertAt = r.begin;
    for (std::size_t i = r.begin; i < r.end; ++i)
        if (lines_[i].eq != std::string::npos) insertAt = i + 1;
    InsertLine(insertAt, keyName + "=" + EncodeValue(v));
    dirty_ = true;
}

void ProfileFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
    WriteString(section, key, IntToStr(value));
}

void ProfileFile::ThrowWriteError() const {
    throw EInOutError(0, cp932::FromUtf8(path_ + " に書き込めません"));
}

std::string ProfileFile::Bytes() const {
    std::string bytes;
    if (utf8_) bytes += kBom;
    for (const Line& line : lines_)
        bytes += line.raw + line.eol;
    return bytes;
}

void ProfileFile::Save() {
    if (loadFailed_) ThrowWriteError();
    if (!dirty_) return;
    try {
        fileio::WriteFileAtomic(path_, Bytes());
    } catch (const EInOutError&) {
        ThrowWriteError();
    }
    dirty_ = false;
}

std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view def) {
    return ProfileFile(path).ReadString(section, key, def);
}

std::int32_t ReadProfileInteger(const std::string& path, std::string_view section, std::string_view key,
                                std::int32_t def) {
    return ProfileFile(path).ReadInteger(section, key, def);
}

void WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
    ProfileFile file(path);
    file.WriteString(section, key, value);
    file.Save();
}

void WriteProfileInteger(const std::string& path, std::string_view section, std::string_view key,
                         std::int32_t value) {
    ProfileFile file(path);
    file.WriteInteger(section, key, value);
    file.Save();
}
