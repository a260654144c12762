#pragma once
// What a 24-pin ESC/P kanji printer would strike for a byte stream, written from the public command
// references (docs/escp.md), not from the renderer's tables. An unknown command, a byte the printer would
// not print, or a character before its pitch or spacing was set is an error: the stream must not lean on
// the printer's panel settings.
#include <cstdint>
#include <string>
#include <vector>

namespace decoded {

enum class Kind { Ank, Kanji, Bitmap };

struct Mark {
    int x, y, width, height; // dots at 180 dpi, y the top of the character
    Kind kind;
    int code;                          // the byte or the JIS code
    std::vector<std::uint8_t> columns; // a bitmap's data
};

struct Page {
    std::vector<Mark> marks;
    std::vector<int> rows; // the vertical position of each pass that strikes, in order
    int pageLength = 0, passes = 0;
    bool formFeed = false;
    std::vector<std::string> errors;
};

inline Page Decode(const std::string& s) {
    Page p;
    int x = 0, y = 0, spacing = 0, pitch = 0, ankSpace = -1, kanjiLeft = -1, kanjiRight = 0;
    bool lq = false, kanji = false, condensed = false, wide = false, high = false, kWide = false,
         kHigh = false;
    bool struck = false;
    auto at = [&](std::size_t i) { return i < s.size() ? static_cast<unsigned char>(s[i]) : 0; };
    auto fail = [&](std::size_t i, const char* what) {
        p.errors.push_back(what + (" at " + std::to_string(i)));
    };
    auto mark = [&](int w, int h, Kind kind, int code) {
        p.marks.push_back({x, h == 48 ? y - 24 : y, w, h, kind, code, {}}); // double height grows upwards
        if (!struck) p.rows.push_back(y);
        struck = true;
        x += w;
    };
    for (std::size_t i = 0; i < s.size();) {
        const int c = at(i), cmd = at(i + 1), n = at(i + 2), word = at(i + 2) | at(i + 3) << 8;
        std::size_t length = 1;
        if (c == 0x1B) {
            length = 3;
            switch (cmd) {
            case '@':
                pitch = 0, ankSpace = kanjiLeft = -1, condensed = wide = high = false, length = 2;
                break;
            case 'x':
                lq = n & 1;
                break; // 1: letter quality
            case 'R':
                if (n != 8) fail(i, "not the Japanese set");
                break; // 8: 0x5C is the yen sign
            case 'l':
                if (n != 0) fail(i, "a left margin");
                break;
            case '3':
                spacing = n;
                break; // n/180 inch
            case 'C':
                p.pageLength = n * spacing;
                break; // n lines
            case 'J':
                y += n;
                if (struck) fail(i, "a feed within a pass");
                break; // n/180 inch
            case 'P':
                pitch = 18, length = 2;
                break; // 10 characters per inch
            case 'M':
                pitch = 15, length = 2;
                break; // 12
            case 'g':
                pitch = 12, length = 2;
                break; // 15
            case ' ':
                ankSpace = n;
                break; // n/180 inch
            case 'W':
                wide = n & 1;
                break;
            case 'w':
                high = n & 1;
                break;
            case '$':
                x = 3 * word, length = 4;
                break; // 1/60 inch
            case '\\':
                x += static_cast<std::int16_t>(word), length = 4; // 1/180 inch in letter quality
                if (!lq) fail(i, "a relative move in draft");
                break;
            case '*': { // mode 39: 24 dots high, 180 dpi across, three bytes a column
                const int cols = at(i + 3) | at(i + 4) << 8;
                if (n != 39) fail(i, "another bitmap mode");
                length = 5 + 3 * static_cast<std::size_t>(cols);
                mark(cols, 24, Kind::Bitmap, 0);
                p.marks.back().columns.assign(s.begin() + static_cast<long>(std::min(s.size(), i + 5)),
                                              s.begin() + static_cast<long>(std::min(s.size(), i + length)));
                break;
            }
            default:
                fail(i, "an unknown ESC command");
            }
        } else if (c == 0x1C) {
            length = 2;
            switch (cmd) {
            case '&':
                kanji = true;
                break;
            case '.':
                kanji = false;
                break;
            case 'S':
                kanjiLeft = n, kanjiRight = at(i + 3), length = 4;
                break; // left, right in dots
            case '!':
                kWide = n & 4, kHigh = n & 8, length = 3;
                break;
            default:
                fail(i, "an unknown FS command");
            }
        } else if (c == '\r') {
            x = 0, struck = false, ++p.passes;
        } else if (c == '\f') {
            p.formFeed = i + 1 == s.size();
        } else if (c == 0x0F || c == 0x12) {
            condensed = c == 0x0F; // SI, DC2
        } else if (kanji) {
            if (c < 0x21 || c > 0x7E || cmd < 0x21 || cmd > 0x7E) fail(i, "not a JIS code");
            if (kanjiLeft < 0) fail(i, "a kanji before its spacing");
            mark((kWide ? 2 : 1) * (kanjiLeft + 24 + kanjiRight), kHigh ? 48 : 24, Kind::Kanji, c << 8 | cmd);
            length = 2;
        } else {
            if (c < 0x20 || c > 0x7E) fail(i, "a byte the printer does not print");
            if (pitch == 0 || ankSpace < 0) fail(i, "a character before its pitch and spacing");
            if (condensed && pitch != 15) fail(i, "a condensed pitch of no whole dot");
            mark((wide ? 2 : 1) * ((condensed ? 9 : pitch) + ankSpace), high ? 48 : 24, Kind::Ank, c);
        }
        i += length;
    }
    return p;
}

} // namespace decoded
