#include "escp/CommandSet.h"

#include <algorithm>

namespace escp {

std::string Encode(const Command& c, int n, int m) {
    std::string out(c.head);
    switch (c.arg) {
    case Arg::None:
        break;
    case Arg::Byte:
        out += static_cast<char>(std::clamp(n, 0, 255));
        break;
    case Arg::WordLE: {
        const auto word = static_cast<std::uint16_t>(std::clamp(n, -32768, 65535));
        out += static_cast<char>(word & 0xFF);
        out += static_cast<char>(word >> 8);
        break;
    }
    case Arg::Pair:
        out += static_cast<char>(std::clamp(n, 0, 255));
        out += static_cast<char>(std::clamp(m, 0, 255));
        break;
    }
    return out;
}

namespace {

using namespace std::string_view_literals;

// 10, 12 and 15 characters per inch, and 12 condensed to 20; DC2 cancels condensed, SI selects it.
constexpr AnkPitch kEscpPitches[] = {
    {18, "\x1bP\x12"sv},
    {15, "\x1bM\x12"sv},
    {12, "\x1bg\x12"sv},
    {9, "\x1bM\x0f"sv},
};

// ESC W / ESC w for alphanumerics, FS ! (bit 2 double width, bit 3 double height) for kanji.
constexpr CharSize kEscpSizes[] = {
    {"normal", 1, 1, "\x1bW\x00\x1bw\x00"sv, "\x1c!\x00"sv},
    {"double height", 1, 2, "\x1bW\x00\x1bw\x01"sv, "\x1c!\x08"sv},
    {"double width", 2, 1, "\x1bW\x01\x1bw\x00"sv, "\x1c!\x04"sv},
};

} // namespace

const CommandSet kEscpKanji24 = {
    .name = "ESC/P kanji 24-pin",
    .dpi = 180,
    // ESC @, ESC x 1 (letter quality), ESC R 8 (Japan: 0x5C is the yen sign), ESC l 0.
    .initialise = "\x1b@\x1bx\x01\x1bR\x08\x1bl\x00"sv,
    .lineSpacing = {"\x1b\x33"sv, Arg::Byte, 255},     // ESC 3 n
    .pageLengthLines = {"\x1b\x43"sv, Arg::Byte, 127}, // ESC C n
    .feed = {"\x1bJ"sv, Arg::Byte, 255},
    .absolute = {"\x1b$"sv, Arg::WordLE, 65535},
    .absoluteUnit = 3,                            // 1/60 inch
    .relative = {"\x1b\\"sv, Arg::WordLE, 16383}, // 1/180 inch in letter quality
    .carriageReturn = "\r"sv,
    .formFeed = "\f"sv,
    .kanjiIn = "\x1c&"sv,
    .kanjiOut = "\x1c."sv,
    .kanjiSpacing = {"\x1cS"sv, Arg::Pair, 127},
    .kanjiWidth = 24,
    .ankSpacing = {"\x1b "sv, Arg::Byte, 127},
    .ankPitches = kEscpPitches,
    .sizes = kEscpSizes,
    .cellHeight = 24,
    .bitmap = {"\x1b*\x27"sv, Arg::WordLE, 65535}, // mode 39: 24 dots high, 180 dpi across
};

} // namespace escp
