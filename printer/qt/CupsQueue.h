#pragma once
// What the printer object needs to know about one CUPS queue, read with the destination API: the media,
// media-source and printer-resolution attributes the scheduler reports, and its message catalogue.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CupsConnection;

struct CupsPaper {
    std::uint16_t number = 0;     // the platform's paper number, 256 up for sizes without one
    std::string keyword;          // the media keyword
    std::string name;             // the queue's text for it, UTF-8
    double width = 0, length = 0; // points
    double left = 0, bottom = 0, right = 0, top = 0; // margins, points
};

struct CupsSource {
    std::uint16_t number = 0;
    std::string keyword; // the media-source keyword
    std::string name;    // UTF-8
};

struct CupsQueue {
    std::vector<CupsPaper> papers;
    std::vector<CupsSource> sources;
    int defaultPaper = -1;  // position in papers, -1 when the queue names none
    int defaultSource = -1; // position in sources
    int resolutionX = 300, resolutionY = 300;
    bool resolutionKnown = false; // the two above are the queue's default, not a guess
    std::optional<int> scale;     // the queue's scaling default in percent
};

// Where a queue is found, from the scheduler's list.
struct CupsQueueAddress {
    std::string name;       // UTF-8
    std::string uri;        // printer-uri-supported
    std::string stringsUri; // printer-strings-uri, empty without one
    std::optional<int> scale;
};

// Reads the queue's facts over `connection`. A queue that is gone, or a scheduler that is not running,
// yields empty lists; one that does not answer raises EHqPrinterNoAnswer.
CupsQueue ReadCupsQueue(CupsConnection& connection, const CupsQueueAddress& address);

// The keyword drivers use for a resolution: "360dpi", "120x60dpi".
std::string ResolutionKeyword(int x, int y);

// A paper size's name from its media keyword when the queue has no text for it: the common name of a
// standard size ("A4", "Letter"), else its dimensions ("10 x 4 in").
std::string PaperNameFromKeyword(const std::string& keyword);
