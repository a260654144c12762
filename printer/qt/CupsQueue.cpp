#include "printer/qt/CupsQueue.h"

#include <QPageSize>
#include <QString>

#include <cups/cups.h>
#include <cups/ppd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <strings.h>
#include <unistd.h>

// The PPD interface is the only way to the queue's own defaults and printable areas.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace {

std::uint16_t WindowsPaperNumber(const char* keyword) {
    const QString key = QString::fromUtf8(keyword);
    for (int i = 0; i <= QPageSize::LastPageSize; ++i) {
        auto id = static_cast<QPageSize::PageSizeId>(i);
        if (id == QPageSize::Custom || QPageSize::key(id) != key) continue;
        int number = QPageSize::windowsId(id);
        if (number > 0 && number < 256) return static_cast<std::uint16_t>(number);
    }
    return 0;
}

std::uint16_t WindowsSourceNumber(const char* keyword) {
    static const struct {
        const char* keyword;
        std::uint16_t number;
    } kSources[] = {{"Upper", 1},      {"Lower", 2},          {"Middle", 3},   {"Manual", 4},
                    {"ManualFeed", 4}, {"Envelope", 5},       {"Auto", 7},     {"AutoSelect", 7},
                    {"Tractor", 8},    {"LargeCapacity", 11}, {"Cassette", 14}};
    for (const auto& s : kSources) {
        if (strcasecmp(s.keyword, keyword) == 0) return s.number;
    }
    return 0;
}

struct PpdFile {
    ppd_file_t* ppd = nullptr;
    ~PpdFile() {
        if (ppd) ppdClose(ppd);
    }
};

} // namespace

bool ParseResolution(const std::string& text, int& x, int& y) {
    int a = 0, b = 0;
    char rest[8] = {};
    if (std::sscanf(text.c_str(), "%dx%d%7s", &a, &b, rest) == 3 && std::strcmp(rest, "dpi") == 0) {
    } else if (std::sscanf(text.c_str(), "%d%7s", &a, rest) == 2 && std::strcmp(rest, "dpi") == 0) {
        b = a;
    } else {
        return false;
    }
    if (a <= 0 || b <= 0) return false;
    x = a;
    y = b;
    return true;
}

CupsQueue ReadCupsQueue(const std::string& queueName) {
    CupsQueue queue;
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queueName.c_str(), nullptr);
    if (dest) {
        const char* scaling = cupsGetOption("scaling", dest->num_options, dest->options);
        if (scaling && std::atoi(scaling) > 0) queue.scale = std::atoi(scaling);
        cupsFreeDests(1, dest);
    }

    char path[1024] = "";
    time_t modtime = 0;
    if (cupsGetPPD3(CUPS_HTTP_DEFAULT, queueName.c_str(), &modtime, path, sizeof path) != HTTP_STATUS_OK)
        return queue;
    PpdFile file;
    file.ppd = ppdOpenFile(path);
    unlink(path);
    if (!file.ppd) return queue;
    ppd_file_t* ppd = file.ppd;
    ppdMarkDefaults(ppd);

    std::uint16_t nextPaper = 256;
    if (ppd_option_t* option = ppdFindOption(ppd, "PageSize")) {
        for (int i = 0; i < option->num_choices; ++i) {
            const ppd_choice_t& choice = option->choices[i];
            if (std::strcmp(choice.choice, "Custom") == 0) continue; // a free size, not a paper of its own
            CupsPaper paper;
            paper.keyword = choice.choice;
            paper.name = choice.text[0] ? choice.text : choice.choice;
            paper.number = WindowsPaperNumber(choice.choice);
            if (paper.number == 0) paper.number = nextPaper++;
            if (ppd_size_t* size = ppdPageSize(ppd, choice.choice)) {
                paper.width = size->width;
                paper.length = size->length;
                paper.left = size->left;
                paper.bottom = size->bottom;
                paper.right = size->right;
                paper.top = size->top;
            }
            if (std::strcmp(choice.choice, option->defchoice) == 0)
                queue.defaultPaper = static_cast<int>(queue.papers.size());
            queue.papers.push_back(paper);
        }
    }
    std::uint16_t nextSource = 256;
    if (ppd_option_t* option = ppdFindOption(ppd, "InputSlot")) {
        for (int i = 0; i < option->num_choices; ++i) {
            const ppd_choice_t& choice = option->choices[i];
            CupsSource source;
            source.keyword = choice.choice;
            source.name = choice.text[0] ? choice.text : choice.choice;
            source.number = WindowsSourceNumber(choice.choice);
            if (source.number == 0) source.number = nextSource++;
            if (std::strcmp(choice.choice, option->defchoice) == 0)
                queue.defaultSource = static_cast<int>(queue.sources.size());
            queue.sources.push_back(source);
        }
    }
    std::string resolution;
    if (ppd_option_t* option = ppdFindOption(ppd, "Resolution")) resolution = option->defchoice;
    if (resolution.empty()) {
        if (ppd_attr_t* attr = ppdFindAttr(ppd, "DefaultResolution", nullptr); attr && attr->value)
            resolution = attr->value;
    }
    if (ParseResolution(resolution, queue.resolutionX, queue.resolutionY))
        queue.resolutionKeyword = resolution;
    return queue;
}
