#pragma once
// A dot-matrix printer language as data: every operation the text mode sends is a command template
// here, so another family of printers is another table, not another renderer. docs/escp.md names
// the public references each entry follows.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace escp {

// How a command carries its number.
enum class Arg : std::uint8_t {
    None,
    Byte,   // one byte
    WordLE, // two bytes, low first; a negative number as its two's complement
    Pair,   // two numbers of one byte each
};

struct Command {
    std::string_view head; // the bytes before the number
    Arg arg = Arg::None;
    int max = 0; // the largest number one command carries
};

// The bytes of `c` with the number `n` (and `m` for a pair).
std::string Encode(const Command& c, int n = 0, int m = 0);

// An alphanumeric pitch of the printer's letter-quality characters.
struct AnkPitch {
    int width;               // dots a character takes at normal width
    std::string_view select; // selects the pitch (and the condensed mode it needs or cancels)
};

// A character size of the printer's set.
struct CharSize {
    const char* name;
    int scaleX, scaleY;     // times the normal width and height
    std::string_view ank;   // selects it for alphanumerics
    std::string_view kanji; // selects it for kanji
};

struct CommandSet {
    const char* name;
    int dpi; // every position, move and size below is in dots of this resolution

    // Reset, letter quality, the character set whose 0x5C is the yen sign, left margin at the edge.
    std::string_view initialise;
    Command lineSpacing;     // n dots, for the page length that follows
    Command pageLengthLines; // n lines of the line spacing; the top of the form is where the paper is
    Command feed;            // n dots down
    Command absolute;        // n units from the left margin
    int absoluteUnit;        // dots in one unit of `absolute`
    Command relative;        // n dots across, negative to the left
    std::string_view carriageReturn;
    std::string_view formFeed;

    std::string_view kanjiIn, kanjiOut;
    Command kanjiSpacing; // left and right space of each kanji, in dots (doubled at double width)
    int kanjiWidth;       // dots a kanji takes at normal width without spacing
    Command ankSpacing;   // space after each alphanumeric, in dots (doubled at double width)
    std::span<const AnkPitch> ankPitches; // widest first
    std::span<const CharSize> sizes;      // the first is the normal size
    int cellHeight;                       // dots a character takes at normal height: one pass

    Command bitmap; // one band of `cellHeight` dots, n columns of one dot, top dot in the high bit first
};

// ESC/P with the Japanese kanji extension, 24 pins, letter quality, 180 dpi.
extern const CommandSet kEscpKanji24;

} // namespace escp
