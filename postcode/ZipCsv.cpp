#include "postcode/ZipCsv.h"

#include "platform/LateLibrary.h"

namespace postcode {

ZipContents ReadZippedCsv(const std::string& archive, std::size_t limit) {
    using ReadFn = void (*)(const std::string&, std::size_t, ZipContents&);
    ZipContents contents;
    auto read = late_library::Entry<ReadFn>(late_library::kZip, "ZaridiReadZippedCsv", &contents.failed);
    if (read)
        read(archive, limit, contents);
    else
        contents.status = ZipContents::Status::NoReader;
    return contents;
}

} // namespace postcode
