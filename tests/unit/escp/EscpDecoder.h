#pragma once
// What a 24-pin ESC/P kanji printer would strike for a byte stream, written from the public command
// references (docs/escp.md), not from the renderer's tables. Anything outside the commands below, or a
// character struck before its pitch or spacing was set, is an error: the renderer must not lean on
// the printer's panel settings or send a byte the printer would take for a command.
#include <cstdint>
#include <string>
#include <vector>

namespace decoded {

enum class Kind { Ank, Kanji, Bitmap };

struct Mark {
    int x, y, width, height; // dots at 180 dpi; y is the top of the character
    Kind kind;
    int code;                          // the byte, or the JIS code
    std::vector<std::uint8_t> columns; // a bitmap: three bytes per column, top dot in the high bit
};

struct Page {
    std::vector<Mark> marks;
    int pageLength = 0; // dots
    int passes = 0;     // carriage returns
    bool formFeed = false;
    std::vector<int> rows; // the vertical position of every pass, in order
    std::vector<std::string> errors;
};

inline Page Decode(const std::string& s) {
    Page page;
    int x = 0, y = 0, lineSpacing = 0;
    bool letterQuality = false, kanji = false, condensed = false, doubleWide = false, doubleHigh = false;
    bool kanjiWide = false, kanjiHigh = false, struckInPass = false;
    int pitch = 0, ankSpace = -1, kanjiLeft = -1, kanjiRight = -1; // 0 and -1: not set by this stream
    auto fail = [&](std::size_t at, const std::string& what) {
        page.errors.push_back(what + " at byte " + std::to_string(at));
    };
    auto byteAt = [&](std::size_t i) { return i < s.size() ? static_cast<unsigned char>(s[i]) : 0; };
    auto mark = [&](int width, int height, Kind kind, int code, bool high) {
        // Double height grows up from the line: the upper half sits in the band above it.
        page.marks.push_back({x, high ? y - 24 : y, width, height, kind, code, {}});
        if (!struckInPass) page.rows.push_back(y);
        struckInPass = true;
        x += width;
    };
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = byteAt(i);
        if (c == 0x1B) {
            const unsigned char cmd = byteAt(i + 1), n = byteAt(i + 2);
            const int word = byteAt(i + 2) | byteAt(i + 3) << 8;
            switch (cmd) {
            case '@': // ESC @: initialise
                pitch = 0, ankSpace = kanjiLeft = kanjiRight = -1,
                condensed = doubleWide = doubleHigh = false;
                i += 2;
                continue;
            case 'x':
                letterQuality = n & 1;
                break; // ESC x n: 1 letter quality
            case 'R':
                if (n != 8) fail(i, "not the Japanese character set");
                break; // ESC R 8: 0x5C is yen
            case 'l':
                if (n != 0) fail(i, "left margin");
                break;
            case '3':
                lineSpacing = n;
                break; // ESC 3 n: n/180 inch
            case 'C':
                page.pageLength = n * lineSpacing;
                break; // ESC C n: n lines
            case 'J':
                y += n;
                if (struckInPass) fail(i, "feed within a pass");
                break; // n/180 inch
            case 'P':
                pitch = 18;
                i += 2;
                continue; // 10 characters per inch
            case 'M':
                pitch = 15;
                i += 2;
                continue; // 12
            case 'g':
                pitch = 12;
                i += 2;
                continue; // 15
            case ' ':
                ankSpace = n;
                break; // ESC SP n: n/180 inch in letter quality
            case 'W':
                doubleWide = n & 1;
                break;
            case 'w':
                doubleHigh = n & 1;
                break;
            case '$':
                x = 3 * word;
                i += 4;
                continue; // ESC $: 1/60 inch from the left margin
            case '\\':    // ESC \: 1/180 inch in letter quality, two's complement to the left
                if (!letterQuality) fail(i, "relative move outside letter quality");
                x += static_cast<std::int16_t>(word);
                i += 4;
                continue;
            case '*': { // ESC * 39: 24 dots high, 180 per inch across, three bytes a column
                if (n != 39) fail(i, "bitmap mode " + std::to_string(n));
                const int cols = byteAt(i + 3) | byteAt(i + 4) << 8;
                mark(cols, 24, Kind::Bitmap, 0, false);
                page.marks.back().columns.assign(s.begin() + static_cast<long>(i) + 5,
                                                 s.begin() +
                                                     static_cast<long>(std::min(s.size(), i + 5 + 3 * cols)));
                i += 5 + 3 * static_cast<std::size_t>(cols);
                continue;
            }
            default:
                fail(i, "unknown ESC command");
                i += 2;
                continue;
            }
            i += 3;
            continue;
        }
        if (c == 0x1C) { // the kanji extension
            const unsigned char cmd = byteAt(i + 1), n = byteAt(i + 2);
            switch (cmd) {
            case '&':
                kanji = true;
                i += 2;
                continue;
            case '.':
                kanji = false;
                i += 2;
                continue;
            case 'S':
                kanjiLeft = n, kanjiRight = byteAt(i + 3);
                i += 4;
                continue; // FS S n1 n2: n/180 inch
            case '!':
                kanjiWide = n & 4, kanjiHigh = n & 8;
                i += 3;
                continue; // FS ! n
            default:
                fail(i, "unknown FS command");
                i += 2;
                continue;
            }
        }
        switch (c) {
        case '\r':
            x = 0, struckInPass = false, ++page.passes;
            ++i;
            continue;
        case '\f':
            page.formFeed = true;
            if (i + 1 != s.size()) fail(i, "bytes after the form feed");
            ++i;
            continue;
        case 0x0F:
            condensed = true;
            ++i;
            continue; // SI
        case 0x12:
            condensed = false;
            ++i;
            continue; // DC2
        default:
            break;
        }
        if (kanji) {
            const unsigned char c2 = byteAt(i + 1);
            if (c < 0x21 || c > 0x7E || c2 < 0x21 || c2 > 0x7E) fail(i, "not a JIS code");
            if (kanjiLeft < 0) fail(i, "kanji before its spacing was set");
            const int scale = kanjiWide ? 2 : 1;
            mark(scale * (std::max(kanjiLeft, 0) + 24 + std::max(kanjiRight, 0)), kanjiHigh ? 48 : 24,
                 Kind::Kanji, c << 8 | c2, kanjiHigh);
            i += 2;
            continue;
        }
        if (c < 0x20 || c > 0x7E) fail(i, "a byte the printer would not print");
        if (pitch == 0 || ankSpace < 0) fail(i, "alphanumeric before its pitch and spacing were set");
        int width =
            condensed ? (pitch == 15 ? 9 : 0) : pitch; // only 12 characters per inch condense to whole dots
        if (width == 0) fail(i, "condensed pitch of no whole dot");
        const int scale = doubleWide ? 2 : 1;
        mark(scale * (width + std::max(ankSpace, 0)), doubleHigh ? 48 : 24, Kind::Ank, c, doubleHigh);
        ++i;
    }
    return page;
}

} // namespace decoded
