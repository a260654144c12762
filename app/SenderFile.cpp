#include "app/SenderFile.h"

#include "platform/Cp932.h"
#include "platform/FileIO.h"

std::string SenderFileName(int slot) {
    return "my" + std::to_string(slot) + ".txt";
}

SenderRecord ParseSenderFile(std::string_view bytes) {
    std::string lines[5];
    bool cut = false;
    std::size_t pos = 0;
    for (std::string& line : lines) {
        if (pos >= bytes.size()) break;
        std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = bytes.size();
        line = cp932::CutBytes(bytes.substr(pos, end - pos), cp932::kLongestText);
        cut = cut || line.size() < end - pos;
        pos = end;
        if (pos < bytes.size() && bytes[pos] == '\r') {
            ++pos;
            if (pos < bytes.size() && bytes[pos] == '\n') ++pos;
        } else if (pos < bytes.size()) {
            ++pos; // LF
        }
    }
    return {lines[0], lines[1], lines[2], lines[3], lines[4], cut};
}

std::string FormatSenderFile(const SenderRecord& r) {
    std::string out;
    for (const std::string* line : {&r.Zip, &r.Add1, &r.Add2, &r.Name, &r.Tel}) {
        out += *line;
        out += "\r\n";
    }
    return out;
}

SenderRecord LoadSenderFile(const std::string& path) {
    return ParseSenderFile(fileio::ReadFile(path));
}

void SaveSenderFile(const std::string& path, const SenderRecord& r) {
    fileio::WriteFileAtomic(path, FormatSenderFile(r));
}
