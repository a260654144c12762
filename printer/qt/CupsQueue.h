#pragma once
// What the printer object needs to know about one CUPS queue, read with the destination API: the media,
// media-source and printer-resolution attributes the scheduler reports, the destination's options and
// the queue's message catalogue.
#include "printer/PlatformPrinter.h"

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

// The free sizes a queue takes besides its named ones, points, and the margins they print with.
struct CupsFreeSizes {
    double minWidth = 0, maxWidth = 0, minLength = 0, maxLength = 0;
    double left = 0, bottom = 0, right = 0, top = 0;
};

struct CupsQueue {
    std::vector<CupsPaper> papers;
    std::vector<CupsSource> sources;
    int defaultPaper = -1;  // the default the queue applies by itself, position in papers; -1: none known
    int defaultSource = -1; // likewise, in sources
    int presetPaper = -1;   // another one the destination's options set, which only the job can carry
    int presetSource = -1;
    std::optional<CupsFreeSizes> freeSizes; // none when the queue takes named sizes only
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

// What a queue offers the user for one slip form: the papers and sources in list order, and the ones in
// force until the user chooses. A queue that names no default of its own starts the list with an entry
// for the printer's own setting (number kPrinterDefaultEntry, empty keyword).
struct CupsOffer {
    std::vector<CupsPaper> papers;
    std::vector<CupsSource> sources;
    std::optional<int> paper, source; // positions; none when the list is empty
    bool sendPaper = false;           // the paper in force is not the queue's own default: ask for it
    bool sendSource = false;
};

// Reads the queue's facts over `connection`. A queue that is gone, or a scheduler that is not running,
// yields empty lists; one that does not answer raises EHqPrinterNoAnswer.
CupsQueue ReadCupsQueue(CupsConnection& connection, const CupsQueueAddress& address);

// A queue that takes free sizes offers the slip form among them, unless a named size is the form's size,
// and starts with the form's size; otherwise the user's preset, else the queue's default.
CupsOffer OfferOf(const CupsQueue& queue, SlipForm form);

// The keyword drivers use for a resolution: "360dpi", "120x60dpi".
std::string ResolutionKeyword(int x, int y);

// A paper size's name from its media keyword when the queue has no text for it: the common name of a
// standard size ("A4", "Letter"), else its dimensions ("10 x 4 in").
std::string PaperNameFromKeyword(const std::string& keyword);
