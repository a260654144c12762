// Any bytes as a profile file, and as CP932 text: no crash, no read past the end, and what is written
// reads back.
#include "platform/Cp932.h"
#include "platform/Cp932Codec.h"
#include "platform/ProfileFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

bool IsUtf8(const std::string& s) {
    // Only the structure: ToUtf8 must never emit a broken sequence.
    for (std::size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (len == 0 || i + len > s.size()) return false;
        for (std::size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += len;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);

    std::string utf8 = cp932::ToUtf8(bytes);
    Check(IsUtf8(utf8));
    cp932::FromUtf8(utf8);
    cp932::FromUtf8(bytes);

    ProfileFile file = ProfileFile::FromBytes("fuzz.ini", bytes);
    for (const char* key : {"E_ZIP", "k", "", "Tab_My"}) {
        std::string v = file.ReadString("tv_SAGAWAprn", key, "d");
        Check(v.size() <= ProfileFile::kMaxValueBytes);
        Check(cp932::IsCharBoundary(v, v.size()));
        file.ReadInteger("tv_SAGAWAprn", key, 0);
        file.ReadString("", key, "d");
    }

    // The value is the input's last line: after a write it must read back as written.
    std::string value = bytes.substr(bytes.rfind('\n') == std::string::npos ? 0 : bytes.rfind('\n') + 1);
    value = value.substr(0, value.find('\0'));
    for (char& c : value)
        if (c == '\r') c = ' ';
    file.WriteString("tv_SAGAWAprn", "FUZZ_KEY", value);
    ProfileFile back = ProfileFile::FromBytes("fuzz.ini", file.Bytes());
    std::string read = back.ReadString("tv_SAGAWAprn", "FUZZ_KEY", "<missing>");
    // A UTF-8 file holds only what UTF-8 can: bytes that are no CP932 character come back as "?".
    if (bytes.starts_with("\xEF\xBB\xBF")) value = cp932::FromUtf8(cp932::ToUtf8(value));
    Check(read == cp932::CutBytes(value, ProfileFile::kMaxValueBytes));
    return 0;
}
