// ini get|getint|set, and cp932: the profile-file and code-page layers from the command line.
#include "Probe.h"

#include "platform/Conversions.h"
#include "platform/Cp932Codec.h"
#include "platform/ProfileFile.h"

#include <iostream>

namespace probe {

int Ini(const Args& a) {
    const std::string usage = "ini get|getint FILE SECTION KEY DEFAULT | ini set FILE SECTION KEY VALUE";
    if (a.size() != 5) throw UsageError{usage};
    const std::string& file = a[1];
    std::string section = cp932::FromUtf8(a[2]);
    std::string key = cp932::FromUtf8(a[3]);
    if (a[0] == "get") {
        std::cout << cp932::ToUtf8(ReadProfileString(file, section, key, cp932::FromUtf8(a[4]))) << "\n";
    } else if (a[0] == "getint") {
        std::int32_t def = StrToInt(a[4]);
        std::cout << ReadProfileInteger(file, section, key, def) << "\n";
    } else if (a[0] == "set") {
        WriteProfileString(file, section, key, cp932::FromUtf8(a[4]));
    } else {
        throw UsageError{usage};
    }
    return 0;
}

int Cp932Hex(const Args& a) {
    if (!a.empty()) throw UsageError{"cp932 < lines"};
    for (const std::string& line : SplitLines(ReadStdin())) {
        std::cout << HexBytes(cp932::FromUtf8(line), " ") << "\n";
    }
    return 0;
}

} // namespace probe
