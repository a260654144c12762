#include "postcode/ZipCsv.h"

#include "platform/LateLibrary.h"

namespace postcode {

ZipContents ReadZippedCsv(const std::string& archive, std::size_t limit) {
    using ReadFn = void (*)(const std::string&, std::size_t, ZipContents&);
    ZipContents contents;
    auto read = reinterpret_cast<ReadFn>(
        late_library::Entry("libzaridi_zip.so", "ZaridiReadZippedCsv", &contents.failed));
    if (read)
        read(archive, limit, contents);
    else
        contents.status = ZipContents::Status::NoReader;
    return contents;
}

} // namespace postcode
