// Any bytes as a postcode index, and as an official file to import: refused or read, never a crash or
// a read past the file.
#include "platform/Cp932.h"
#include "postcode/Check.h"
#include "postcode/Import.h"
#include "postcode/Index.h"
#include "postcode/IndexFormat.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

std::string TempPath(const char* name) {
    static const std::string dir = [] {
        char tmpl[] = "/tmp/fuzz_postcode.XXXXXX";
        return std::string(::mkdtemp(tmpl));
    }();
    return dir + "/" + name;
}

void Write(const std::string& path, const uint8_t* data, size_t size) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string index = TempPath("postcode.idx");
    // With a checksum that fits, so the reader gets past it to the sections.
    std::string sealed = text;
    if (sealed.size() >= postcode::format::kHeaderSize) {
        const std::uint32_t sum = postcode::format::Checksum(sealed);
        std::memcpy(sealed.data() + postcode::format::kChecksumOffset, &sum, sizeof sum);
    }
    Write(index, reinterpret_cast<const uint8_t*>(sealed.data()), sealed.size());
    try {
        const auto idx = postcode::Index::Open(index);
        for (std::size_t i = 0; i < idx->EntryCount() && i < 64; ++i)
            idx->Lookup(std::to_string(idx->EntryAt(i).code));
        idx->Find(text);
        postcode::CheckAddress(*idx, "5300001", text);
    } catch (const postcode::EPostcodeData&) {
    }
    postcode::FoldAddress(text);

    const std::string csv = TempPath("KEN_ALL.CSV");
    Write(csv, data, size);
    try {
        postcode::ImportPostcodeFiles({csv}, TempPath("imported.idx"));
        postcode::Index::Open(TempPath("imported.idx"))->Find(text);
    } catch (const Exception&) {
    }
    return 0;
}
