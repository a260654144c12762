#include "printer/qt/CupsQueue.h"

#include "printer/HqPrinterErrors.h"
#include "printer/StringsFile.h"
#include "printer/qt/CupsConnection.h"

#include <QPageSize>
#include <QSize>
#include <QString>

#include <cups/cups.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr double kPointsPerHundredthMm = 72.0 / 2540;
constexpr const char* kPrinterDefaultName = "プリンタの既定"; // the entry for the printer's own setting

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

// The scheduler's default source where it is not a plain attribute: inside the default media collection.
std::string SourceInMediaCol(ipp_attribute_t* col) {
    if (!col || ippGetValueTag(col) != IPP_TAG_BEGIN_COLLECTION) return {};
    const char* source =
        StringValue(ippFindAttribute(ippGetCollection(col, 0), "media-source", IPP_TAG_ZERO));
    return source ? source : "";
}

// Driver names ("FrontTractor") and keywords ("front-tractor") of the same source compare equal.
std::string Folded(const char* name) {
    std::string folded;
    for (const char* c = name; *c; ++c) {
        if (*c != '-' && *c != '_') folded += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
    }
    return folded;
}

// The free sizes from the media-size-supported ranges, with the smallest margins the queue prints with.
std::optional<CupsFreeSizes> FreeSizes(http_t* http, cups_dest_t* dest, cups_dinfo_t* info) {
    ipp_attribute_t* sizes = cupsFindDestSupported(http, dest, info, "media-size");
    if (!sizes || ippGetValueTag(sizes) != IPP_TAG_BEGIN_COLLECTION) return std::nullopt;
    for (int i = 0; i < ippGetCount(sizes); ++i) {
        ipp_t* size = ippGetCollection(sizes, i);
        ipp_attribute_t* x = ippFindAttribute(size, "x-dimension", IPP_TAG_RANGE);
        ipp_attribute_t* y = ippFindAttribute(size, "y-dimension", IPP_TAG_RANGE);
        if (!x || !y) continue;
        CupsFreeSizes free;
        int upper = 0;
        free.minWidth = ippGetRange(x, 0, &upper) * kPointsPerHundredthMm;
        free.maxWidth = upper * kPointsPerHundredthMm;
        free.minLength = ippGetRange(y, 0, &upper) * kPointsPerHundredthMm;
        free.maxLength = upper * kPointsPerHundredthMm;
        auto margin = [&](const char* name) {
            ipp_attribute_t* values = cupsFindDestSupported(http, dest, info, name);
            int least = 0;
            for (int v = 0; values && v < ippGetCount(values); ++v) {
                if (v == 0 || ippGetInteger(values, v) < least) least = ippGetInteger(values, v);
            }
            return least * kPointsPerHundredthMm;
        };
        free.left = margin("media-left-margin");
        free.bottom = margin("media-bottom-margin");
        free.right = margin("media-right-margin");
        free.top = margin("media-top-margin");
        return free;
    }
    return std::nullopt;
}

bool SameSize(double width, double length, double otherWidth, double otherLength) {
    constexpr double kMillimetre = 72 / 25.4;
    return std::abs(width - otherWidth) <= kMillimetre && std::abs(length - otherLength) <= kMillimetre;
}

// Where the destination's options name a paper or a source other than the one the queue applies by
// itself: the administrator's default (lpadmin -o media-source-default=...) or the user's lpoptions.
// The scheduler applies neither to a job; clients put them into theirs, as lp does.
void ReadPresets(http_t* http, const std::string& name, CupsQueue& queue) {
    std::unique_ptr<cups_dest_t, void (*)(cups_dest_t*)> dest(cupsGetNamedDest(http, name.c_str(), nullptr),
                                                              [](cups_dest_t* d) { cupsFreeDests(1, d); });
    if (!dest) return;
    auto option = [&](const char* key) { return cupsGetOption(key, dest->num_options, dest->options); };
    auto setSource = [&](const char* value) {
        for (std::size_t i = 0; value && queue.presetSource < 0 && i < queue.sources.size(); ++i) {
            if (Folded(queue.sources[i].keyword.c_str()) == Folded(value) &&
                static_cast<int>(i) != queue.defaultSource)
                queue.presetSource = static_cast<int>(i);
        }
    };
    setSource(option("InputSlot"));
    setSource(option("media-source"));
    auto setPaper = [&](const char* value) {
        if (!value || queue.presetPaper >= 0) return;
        pwg_media_t* media = pwgMediaForPWG(value);
        if (!media) media = pwgMediaForLegacy(value);
        if (!media) media = pwgMediaForPPD(value);
        for (std::size_t i = 0; i < queue.papers.size() && queue.presetPaper < 0; ++i) {
            const CupsPaper& p = queue.papers[i];
            const bool same = p.keyword == value ||
                              (media && SameSize(p.width, p.length, media->width * kPointsPerHundredthMm,
                                                 media->length * kPointsPerHundredthMm));
            if (same && static_cast<int>(i) != queue.defaultPaper) queue.presetPaper = static_cast<int>(i);
        }
    };
    setPaper(option("PageSize"));
    setPaper(option("media"));
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
    const char* defaultMedia = StringValue(cupsFindDestDefault(http, &dest, info.get(), "media"));
    const std::string mediaDefault = defaultMedia ? defaultMedia : "";
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
            if (paper.keyword == mediaDefault) queue.defaultPaper = static_cast<int>(queue.papers.size());
            queue.papers.push_back(paper);
        }
    }

    // A driver's default source is not reported; a printer's own is, as an attribute or in the media.
    const char* defaultSource = StringValue(cupsFindDestDefault(http, &dest, info.get(), "media-source"));
    const std::string sourceDefault =
        defaultSource ? defaultSource
                      : SourceInMediaCol(cupsFindDestDefault(http, &dest, info.get(), "media-col"));
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
            if (source.keyword == sourceDefault) queue.defaultSource = static_cast<int>(queue.sources.size());
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
    queue.freeSizes = FreeSizes(http, &dest, info.get());
    ReadPresets(http, address.name, queue);
    if (connection.Trouble() == SchedulerTrouble::NoAnswer)
        throw EHqPrinterNoAnswer(TroubleText(SchedulerTrouble::NoAnswer));
    return queue;
}

CupsOffer OfferOf(const CupsQueue& queue, SlipForm form) {
    CupsOffer offer;
    // The entry for the printer's own setting comes first, so the others keep their order after it.
    const int shift = queue.defaultPaper < 0 && !queue.papers.empty() ? 1 : 0;
    if (shift) offer.papers.push_back({kPrinterDefaultEntry, "", kPrinterDefaultName});
    offer.papers.insert(offer.papers.end(), queue.papers.begin(), queue.papers.end());
    if (!queue.papers.empty()) {
        offer.paper = queue.presetPaper >= 0 ? queue.presetPaper + shift : queue.defaultPaper + shift;
        offer.sendPaper = queue.presetPaper >= 0;
    }
    const CupsFreeSizes* free = queue.freeSizes ? &*queue.freeSizes : nullptr;
    if (free && form.width > 0 && form.length > 0 && form.width >= free->minWidth - 0.5 &&
        form.width <= free->maxWidth + 0.5 && form.length >= free->minLength - 0.5 &&
        form.length <= free->maxLength + 0.5) {
        int named = -1;
        std::uint16_t next = 256;
        for (std::size_t i = 0; i < queue.papers.size(); ++i) {
            const CupsPaper& p = queue.papers[i];
            if (named < 0 && SameSize(p.width, p.length, form.width, form.length))
                named = static_cast<int>(i);
            if (p.number >= next) next = p.number + 1;
        }
        if (named < 0) {
            CupsPaper slip;
            slip.number = next;
            char keyword[128];
            pwgFormatSizeName(keyword, sizeof keyword, "custom", nullptr,
                              static_cast<int>(std::lround(form.width / kPointsPerHundredthMm)),
                              static_cast<int>(std::lround(form.length / kPointsPerHundredthMm)), nullptr);
            slip.keyword = keyword;
            slip.name = PaperNameFromKeyword(slip.keyword);
            slip.width = form.width;
            slip.length = form.length;
            slip.left = free->left;
            slip.bottom = free->bottom;
            slip.right = free->right;
            slip.top = free->top;
            offer.papers.push_back(slip);
            offer.paper = static_cast<int>(offer.papers.size()) - 1;
        } else {
            offer.paper = named + shift;
        }
        offer.sendPaper = *offer.paper != queue.defaultPaper + shift;
    }

    const int sourceShift = queue.defaultSource < 0 && !queue.sources.empty() ? 1 : 0;
    if (sourceShift) offer.sources.push_back({kPrinterDefaultEntry, "", kPrinterDefaultName});
    offer.sources.insert(offer.sources.end(), queue.sources.begin(), queue.sources.end());
    if (!queue.sources.empty()) {
        offer.source = (queue.presetSource >= 0 ? queue.presetSource : queue.defaultSource) + sourceShift;
        offer.sendSource = queue.presetSource >= 0;
    }
    return offer;
}
