// libzip's side of ReadZippedCsv, built into libzaridi_zip.so.
#include "postcode/ZipCsv.h"

#include <algorithm>
#include <cctype>
#include <zip.h>

namespace {

using Status = postcode::ZipContents::Status;

bool EndsWithCsv(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    return name.size() >= 4 && name.compare(name.size() - 4, 4, ".csv") == 0;
}

// One member whole, or why not; `room` is what the limit still allows.
Status ReadMember(zip_t* za, zip_uint64_t index, const zip_stat_t& st, std::size_t room, std::string& out) {
    if ((st.valid & ZIP_STAT_SIZE) && st.size > room) return Status::TooBig;
    zip_file_t* f = zip_fopen_index(za, index, 0);
    if (!f) return Status::Damaged;
    Status status = Status::Ok;
    char buf[65536];
    for (;;) {
        const zip_int64_t got = zip_fread(f, buf, sizeof buf);
        if (got < 0) status = Status::Damaged;
        if (got <= 0) break;
        out.append(buf, static_cast<std::size_t>(got));
        if (out.size() > room) {
            status = Status::TooBig;
            break;
        }
    }
    // Closing reports a checksum that does not match what was read.
    if (zip_fclose(f) != 0 && status == Status::Ok) status = Status::Damaged;
    return status;
}

} // namespace

extern "C" __attribute__((visibility("default"))) void
ZaridiReadZippedCsv(const std::string& archive, std::size_t limit, postcode::ZipContents& contents) {
    zip_error_t err;
    zip_error_init(&err);
    zip_source_t* src = zip_source_buffer_create(archive.data(), archive.size(), 0, &err);
    zip_t* za = src ? zip_open_from_source(src, ZIP_RDONLY | ZIP_CHECKCONS, &err) : nullptr;
    zip_error_fini(&err);
    if (!za) {
        if (src) zip_source_free(src);
        contents.status = Status::Damaged;
        return;
    }
    std::size_t total = 0;
    const zip_int64_t n = zip_get_num_entries(za, 0);
    for (zip_int64_t i = 0; i < n && contents.status == Status::Ok; ++i) {
        zip_stat_t st;
        if (zip_stat_index(za, static_cast<zip_uint64_t>(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME) ||
            !EndsWithCsv(st.name))
            continue;
        postcode::ZippedFile file;
        file.name = st.name;
        file.date = (st.valid & ZIP_STAT_MTIME) ? st.mtime : 0;
        contents.status = ReadMember(za, static_cast<zip_uint64_t>(i), st, limit - total, file.bytes);
        if (contents.status != Status::Ok) {
            contents.failed = file.name;
            break;
        }
        total += file.bytes.size();
        contents.files.push_back(std::move(file));
    }
    zip_discard(za);
}
