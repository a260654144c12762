#include "printer/qt/CupsQueue.h"

#include "printer/HqPrinterErrors.h"
#include "printer/StringsFile.h"
#include "printer/qt/CupsConnection.h"

#include <QPageSize>
#include <QSize>
#include <QString>

#include <cups/cups.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr double kPointsPerHundredthMm = 72.0 / 2540;

std::uint16_t WindowsPaperNumber(const pwg_media_t* media, const cups_size_t& size) {
    if (media && media->ppd) {
        const QString key = QString::fromUtf8(media->ppd);
        for (int i = 0; i <= QPageSize::LastPageSize; ++i) {
            auto id = static_cast<QPageSize::PageSizeId>(i);
            if (id == QPageSize::Custom || QPageSize::key(id) != key) continue;
            int number = QPageSize::windowsId(id);
            if (number > 0 && number < 256) return static_cast<std::uint16_t>(number);
        }
    }
    // A size the scheduler only knows by its dimensions may still be one the platform numbers.
    const QSize points(qRound(size.width * kPointsPerHundredthMm),
                       qRound(size.length * kPointsPerHundredthMm));
    const QPageSize::PageSizeId id = QPageSize::id(points, QPageSize::ExactMatch);
    const int number = id == QPageSize::Custom ? 0 : QPageSize::windowsId(id);
    return number > 0 && number < 256 ? static_cast<std::uint16_t>(number) : 0;
}

std::uint16_t WindowsSourceNumber(const char* keyword) {
    static const struct {
        const char* keyword;
        std::uint16_t number;
    } kSources[] = {{"top", 1},         {"bottom", 2},          {"middle", 3}, {"manual", 4},
                    {"manual-feed", 4}, {"envelope", 5},        {"auto", 7},   {"auto-select", 7},
                    {"tractor", 8},     {"large-capacity", 11}, {"main", 14}};
    for (const auto& s : kSources) {
        if (std::strcmp(s.keyword, keyword) == 0) return s.number;
    }
    return 0;
}

// The queue's message catalogue, fetched over the same connection; empty when it has none.
std::map<std::string, std::string> ReadStrings(CupsConnection& connection, const std::string& uri) {
    char scheme[32], user[256], host[256], resource[1024];
    int port = 0;
    if (uri.empty() ||
        httpSeparateURI(HTTP_URI_CODING_ALL, uri.c_str(), scheme, sizeof scheme, user, sizeof user, host,
                        sizeof host, &port, resource, sizeof resource) < HTTP_URI_STATUS_OK)
        return {};
    const int fd = memfd_create("printer-strings", MFD_CLOEXEC);
    if (fd < 0) return {};
    std::string text;
    if (cupsGetFd(connection.Http(), resource, fd) == HTTP_STATUS_OK) {
        const off_t size = lseek(fd, 0, SEEK_END);
        text.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
        if (pread(fd, text.data(), text.size(), 0) != static_cast<ssize_t>(text.size())) text.clear();
    }
    close(fd);
    return ParseStringsFile(text);
}

const char* StringValue(ipp_attribute_t* attr) {
    return attr ? ippGetString(attr, 0, nullptr) : nullptr;
}

} // namespace

std::string ResolutionKeyword(int x, int y) {
    return x == y ? std::to_string(x) + "dpi" : std::to_string(x) + "x" + std::to_string(y) + "dpi";
}

std::string PaperNameFromKeyword(const std::string& keyword) {
    if (keyword.rfind("custom_", 0) != 0) {
        if (pwg_media_t* media = pwgMediaForPWG(keyword.c_str()); media && media->ppd) return media->ppd;
    }
    // class_name_WxHunit: the dimensions are the last part.
    std::string size = keyword.substr(keyword.rfind('_') + 1);
    std::string unit;
    while (!size.empty() && std::isalpha(static_cast<unsigned char>(size.back()))) {
        unit.insert(unit.begin(), size.back());
        size.pop_back();
    }
    const std::size_t x = size.find('x');
    if (x == std::string::npos || unit.empty()) return keyword;
    return size.substr(0, x) + " x " + size.substr(x + 1) + " " + unit;
}

CupsQueue ReadCupsQueue(CupsConnection& connection, const CupsQueueAddress& address) {
    CupsQueue queue;
    queue.scale = address.scale;
    http_t* http = connection.Http();
    if (!http || address.uri.empty()) return queue;

    cups_option_t uri{const_cast<char*>("printer-uri-supported"), const_cast<char*>(address.uri.c_str())};
    cups_dest_t dest{const_cast<char*>(address.name.c_str()), nullptr, 0, 1, &uri};
    std::unique_ptr<cups_dinfo_t, void (*)(cups_dinfo_t*)> info(cupsCopyDestInfo(http, &dest),
                                                                cupsFreeDestInfo);
    if (!info) {
        if (connection.Trouble() == SchedulerTrouble::NoAnswer)
            throw EHqPrinterNoAnswer(TroubleText(SchedulerTrouble::NoAnswer));
        return queue; // gone
    }
    const std::map<std::string, std::string> strings = ReadStrings(connection, address.stringsUri);
    auto text = [&](const std::string& key, const std::string& fallback) {
        auto it = strings.find(key);
        return it != strings.end() ? it->second : fallback;
    };

    // Sizes and margins as the scheduler's media database has them; the supported list gives the order.
    std::vector<cups_size_t> database;
    const int count = cupsGetDestMediaCount(http, &dest, info.get(), CUPS_MEDIA_FLAGS_DEFAULT);
    for (int i = 0; i < count; ++i) {
        cups_size_t size{};
        if (cupsGetDestMediaByIndex(http, &dest, info.get(), i, CUPS_MEDIA_FLAGS_DEFAULT, &size))
            database.push_back(size);
    }
    const char* mediaDefault = StringValue(cupsFindDestDefault(http, &dest, info.get(), "media"));
    std::uint16_t nextPaper = 256;
    if (ipp_attribute_t* media = cupsFindDestSupported(http, &dest, info.get(), "media")) {
        for (int i = 0; i < ippGetCount(media); ++i) {
            const char* keyword = ippGetString(media, i, nullptr);
            if (!keyword || !std::strncmp(keyword, "custom_min_", 11) ||
                !std::strncmp(keyword, "custom_max_", 11))
                continue; // the bounds of free sizes, not papers of their own
            pwg_media_t* pwg = pwgMediaForPWG(keyword);
            if (!pwg) continue;
            // Among entries of this size (within a millimetre) the one with margins: the others are the
            // borderless variants of the same paper.
            cups_size_t size{};
            std::strncpy(size.media, keyword, sizeof size.media - 1);
            size.width = pwg->width;
            size.length = pwg->length;
            int best = -1;
            for (const cups_size_t& entry : database) {
                if (std::abs(entry.width - pwg->width) > 100 || std::abs(entry.length - pwg->length) > 100)
                    continue;
                const int margins = entry.left + entry.right + entry.top + entry.bottom;
                if (margins > best) {
                    best = margins;
                    size = entry;
                }
            }
            CupsPaper paper;
            paper.keyword = keyword;
            paper.name = text("media." + paper.keyword, PaperNameFromKeyword(paper.keyword));
            paper.number = WindowsPaperNumber(pwg, size);
            if (paper.number == 0) paper.number = nextPaper++;
            paper.width = size.width * kPointsPerHundredthMm;
            paper.length = size.length * kPointsPerHundredthMm;
            paper.left = size.left * kPointsPerHundredthMm;
            paper.bottom = size.bottom * kPointsPerHundredthMm;
            paper.right = size.right * kPointsPerHundredthMm;
            paper.top = size.top * kPointsPerHundredthMm;
            if (mediaDefault && paper.keyword == mediaDefault)
                queue.defaultPaper = static_cast<int>(queue.papers.size());
            queue.papers.push_back(paper);
        }
    }

    const char* sourceDefault = StringValue(cupsFindDestDefault(http, &dest, info.get(), "media-source"));
    std::uint16_t nextSource = 256;
    if (ipp_attribute_t* sources = cupsFindDestSupported(http, &dest, info.get(), "media-source")) {
        for (int i = 0; i < ippGetCount(sources); ++i) {
            const char* keyword = ippGetString(sources, i, nullptr);
            if (!keyword) continue;
            CupsSource source;
            source.keyword = keyword;
            source.name = text("media-source." + source.keyword, source.keyword);
            source.number = WindowsSourceNumber(keyword);
            if (source.number == 0) source.number = nextSource++;
            if (sourceDefault && source.keyword == sourceDefault)
                queue.defaultSource = static_cast<int>(queue.sources.size());
            queue.sources.push_back(source);
        }
    }

    if (ipp_attribute_t* resolution = cupsFindDestDefault(http, &dest, info.get(), "printer-resolution");
        resolution && ippGetValueTag(resolution) == IPP_TAG_RESOLUTION) {
        int y = 0;
        ipp_res_t units = IPP_RES_PER_INCH;
        const int x = ippGetResolution(resolution, 0, &y, &units);
        if (units == IPP_RES_PER_CM) {
            queue.resolutionX = static_cast<int>(x * 2.54 + 0.5);
            queue.resolutionY = static_cast<int>(y * 2.54 + 0.5);
        } else {
            queue.resolutionX = x;
            queue.resolutionY = y;
        }
        queue.resolutionKnown = x > 0 && y > 0;
        if (!queue.resolutionKnown) queue.resolutionX = queue.resolutionY = 300;
    }
    return queue;
}
