#pragma once
// What the printer object needs to know about one CUPS queue, read from the queue's PPD.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct CupsPaper {
    std::uint16_t number = 0;     // the platform's paper number, 256 up for sizes without one
    std::string keyword;          // PageSize choice
    std::string name;             // the driver's text, UTF-8
    double width = 0, length = 0; // points
    double left = 0, bottom = 0, right = 0, top = 0; // printable area, points from bottom-left
};

struct CupsSource {
    std::uint16_t number = 0;
    std::string keyword; // InputSlot choice
    std::string name;    // UTF-8
};

struct CupsQueue {
    std::vector<CupsPaper> papers;
    std::vector<CupsSource> sources;
    int defaultPaper = -1;  // position in papers, -1 when the queue names none
    int defaultSource = -1; // position in sources
    int resolutionX = 300, resolutionY = 300;
    std::string resolutionKeyword; // the Resolution choice behind them, empty without one
    std::optional<int> scale;      // the queue's scaling default in percent
};

// Reads the queue's PPD from the scheduler. A queue without a PPD (raw, or gone) yields empty lists.
CupsQueue ReadCupsQueue(const std::string& queueName);

// "360dpi" = 360 x 360, "120x60dpi" = 120 x 60; false for anything else.
bool ParseResolution(const std::string& text, int& x, int& y);
