// The text mode's byte stream, read back by the decoder of EscpDecoder.h: every text where the layout
// puts it, in the printer's own characters or as a picture, inside its cell, one pass per row.
#include "unit/escp/EscpDecoder.h"
#include "unit/support/Sjis.h"

#include "escp/JisX0208.h"
#include "escp/TextModeRenderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

const std::string kMincho = Sj("ＭＳ Ｐ明朝");
const std::string kLucida = "Lucida Sans Unicode";
constexpr escp::PageDots kForm{1800, 720}; // 10 x 4 inches

// Cells 1.2 em high; every character a pattern of its own bytes, never blank.
class PatternGlyphs : public escp::GlyphSource {
public:
    double line = 1.2;
    int LineHeight(const std::string&, int points, int dpi) override {
        return static_cast<int>(line * points * dpi / 72);
    }
    escp::GlyphBitmap Glyph(const std::string&, const std::string& ch, int width, int height) override {
        escp::GlyphBitmap b{width, height,
                            std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height)};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                b.dots[static_cast<std::size_t>(y) * width + x] = Dot(ch, x, y);
        return b;
    }
    static bool Dot(const std::string& ch, int x, int y) {
        int seed = 0;
        for (unsigned char c : ch)
            seed += c;
        return (x * 7 + y * 3 + seed) % 5 == 0;
    }
};

// The CP932 bytes of a JIS X 0208 code: rows pair up under one lead byte, the odd row first.
std::string SjisOf(int jis) {
    const int row = (jis >> 8) - 0x20, cell = (jis & 0xFF) - 0x20;
    const int lead = (row + 1) / 2 + (row <= 62 ? 0x80 : 0xC0);
    const int trail = row % 2 ? cell + 0x3F + (cell >= 64) : cell + 0x9E;
    return {static_cast<char>(lead), static_cast<char>(trail)};
}

// Splits CP932 into characters the plain way: a lead byte takes the next byte with it.
std::vector<std::string> Characters(const std::string& s) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const std::size_t n = ((b >= 0x81 && b <= 0x9F) || b >= 0xE0) && i + 1 < s.size() ? 2 : 1;
        out.push_back(s.substr(i, n));
        i += n;
    }
    return out;
}

struct Text {
    std::string text;
    std::string font;
    int size, x, y;
    const char* kinds; // of each character struck: Kanji, Ank or Bitmap
    int leading = 0;   // blanks before the first character struck, in bytes
};

const std::vector<Text> kTexts = {
    {Sj("東京都千代田区"), kMincho, 12, 150, 125, "KKKKKKK"},
    {Sj("髙橋﨑①"), kMincho, 10, 150, 170, "BKBB"},
    {Sj("大阪市北区梅田3-1-1"), kMincho, 10, 150, 200, "KKKKKKKAAAAA"},
    {Sj("山田　太郎"), kMincho, 12, 700, 200, "KKKKK"}, // the ideographic space is a kanji
    {Sj("ｱﾊﾟｰﾄ"), kMincho, 12, 150, 240, "BBBBB"},      // half-width kana are not JIS X 0208
    {Sj("       5,000"), "Microsoft Sans Serif", 9, 968, 378, "AAAAA", 7},
    {"\x5C", "Microsoft Sans Serif", 13, 703, 371, "A"}, // the yen sign of the Japanese character set
    {Sj("○"), "Microsoft Sans Serif", 16, 923, 270, "K"},
    {"06-1234-5678", kLucida, 12, 219, 592, "AAAAAAAAAAAA"},
    {"2026", kLucida, 9, 619, 547, "AAAA"},
    {"a\x1b"
     "b\x7f",
     kLucida, 12, 900, 592, "ABAB"},                 // bytes the printer would obey are pictures
    {"\x95", kLucida, 12, 204, 34, "B"},             // half a character
    {Sj("～－￢∵"), kMincho, 12, 1200, 125, "KKKK"}, // JIS characters whatever their Unicode
    {Sj("大"), kMincho, 20, 1400, 300, "K"},         // large enough for double height
    {"   ", kLucida, 12, 500, 500, ""},
    {"", kMincho, 12, 500, 520, ""},
};

std::vector<SlipDraw> DrawsOf(const std::vector<Text>& texts) {
    std::vector<SlipDraw> draws;
    for (const Text& t : texts)
        draws.push_back({t.text, t.font, t.size, t.x, t.y});
    return draws;
}

std::vector<std::uint8_t> Columns(const std::string& ch, int width) {
    std::vector<std::uint8_t> out;
    for (int x = 0; x < width; ++x)
        for (int top = 0; top < 24; top += 8) {
            std::uint8_t c = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (PatternGlyphs::Dot(ch, x, top + bit)) c |= 0x80 >> bit;
            out.push_back(c);
        }
    return out;
}

TEST(TextMode, EveryTextIsStruckWhereTheLayoutPutsIt) {
    PatternGlyphs glyphs;
    const decoded::Page page = decoded::Decode(escp::RenderTextMode(DrawsOf(kTexts), kForm, glyphs).bytes);
    ASSERT_EQ(page.errors, std::vector<std::string>{});

    std::size_t struck = 0;
    for (const Text& t : kTexts) {
        SCOPED_TRACE(t.text);
        const std::string kinds = t.kinds;
        struck += kinds.size();
        if (kinds.empty()) continue;
        const int start = t.x + t.leading * t.size * 180 / 144;
        auto first = std::find_if(page.marks.begin(), page.marks.end(), [&](const decoded::Mark& m) {
            return m.y == t.y && std::abs(m.x - start) <= 1;
        });
        ASSERT_NE(first, page.marks.end()) << "nothing struck within a dot of " << start << ", " << t.y;
        ASSERT_LE(kinds.size(), static_cast<std::size_t>(page.marks.end() - first));

        std::vector<std::string> chars = Characters(t.text);
        chars.erase(chars.begin(), chars.begin() + t.leading);
        const int cellRight = t.x + static_cast<int>(t.text.size()) * t.size * 180 / 144;
        const int cellBottom = t.y + static_cast<int>(1.2 * t.size * 180 / 72);
        for (std::size_t i = 0; i < kinds.size(); ++i) {
            const decoded::Mark& m = first[static_cast<long>(i)];
            SCOPED_TRACE(i);
            if (i > 0) {
                EXPECT_EQ(m.x, first[static_cast<long>(i) - 1].x + first[static_cast<long>(i) - 1].width);
            }
            EXPECT_EQ(m.y, t.y);
            EXPECT_GE(m.x, t.x);
            EXPECT_LE(m.x + m.width, cellRight);
            EXPECT_LE(m.y + m.height, cellBottom);
            switch (kinds[i]) {
            case 'K':
                ASSERT_EQ(m.kind, decoded::Kind::Kanji);
                EXPECT_EQ(SjisOf(m.code), chars[i]);
                break;
            case 'A':
                ASSERT_EQ(m.kind, decoded::Kind::Ank);
                EXPECT_EQ(std::string(1, static_cast<char>(m.code)), chars[i]);
                break;
            default:
                ASSERT_EQ(m.kind, decoded::Kind::Bitmap);
                EXPECT_EQ(m.columns, Columns(chars[i], m.width));
            }
        }
    }
    EXPECT_EQ(page.marks.size(), struck); // and nothing else
}

TEST(TextMode, OnePassPerRowTopToBottom) {
    PatternGlyphs glyphs;
    const escp::TextModeJob job = escp::RenderTextMode(DrawsOf(kTexts), kForm, glyphs);
    const decoded::Page page = decoded::Decode(job.bytes);
    std::set<int> rows;
    for (const decoded::Mark& m : page.marks)
        rows.insert(m.height == 48 ? m.y + 24 : m.y);
    EXPECT_EQ(page.rows, std::vector<int>(rows.begin(), rows.end())); // each once, in order
    EXPECT_EQ(page.passes, static_cast<int>(rows.size()));
    EXPECT_EQ(job.passes, page.passes);
    EXPECT_TRUE(page.formFeed);
}

TEST(TextMode, SizeIsTheNearestThatStaysInTheCell) {
    struct Case {
        int size;
        double line; // of the face, in ems
        int width, height;
    } cases[] = {
        {12, 1.0, 30, 24},                    // the normal kanji spaced to the layout's em
        {10, 1.0, 25, 24}, {20, 1.2, 50, 48}, // double height, nearer 20 points than the normal size
        {20, 0.9, 50, 24},                    // double height would overrun the cell
        {16, 1.2, 40, 48},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        PatternGlyphs glyphs;
        glyphs.line = c.line;
        const decoded::Page page = decoded::Decode(
            escp::RenderTextMode({{Sj("永永"), kMincho, c.size, 90, 90}}, kForm, glyphs).bytes);
        ASSERT_EQ(page.marks.size(), 2u);
        EXPECT_EQ(page.marks[0].x, 90);
        EXPECT_EQ(page.marks[0].y, 90);
        EXPECT_EQ(page.marks[0].width, c.width);
        EXPECT_EQ(page.marks[0].height, c.height);
    }
}

TEST(TextMode, PageLengthIsThePapers) {
    for (int length : {720, 990, 1001, 288}) {
        PatternGlyphs glyphs;
        const decoded::Page page = decoded::Decode(escp::RenderTextMode({}, {1800, length}, glyphs).bytes);
        EXPECT_EQ(page.pageLength, length);
        EXPECT_TRUE(page.formFeed);
        EXPECT_EQ(page.passes, 0);
    }
}

TEST(TextMode, NothingLeavesThePaper) {
    PatternGlyphs glyphs;
    const std::vector<SlipDraw> draws = {
        {"ABCDEFGHIJ", kLucida, 12, 1700, 100}, // runs past the right edge
        {"below", kLucida, 12, 100, 700},       // its line ends below the paper
        {"left", kLucida, 12, -40, -10},        // moved onto the paper
    };
    const decoded::Page page = decoded::Decode(escp::RenderTextMode(draws, kForm, glyphs).bytes);
    ASSERT_EQ(page.errors, std::vector<std::string>{});
    std::string struck;
    for (const decoded::Mark& m : page.marks) {
        EXPECT_LE(m.x + m.width, kForm.width);
        EXPECT_LE(m.y + m.height, kForm.length);
        struck += static_cast<char>(m.code);
    }
    EXPECT_EQ(struck, "leftABCDEF"); // the last 100 dots hold six at 15 dots
    EXPECT_EQ(page.marks.front().x, 0);
    EXPECT_EQ(page.marks.front().y, 0);
}

TEST(TextMode, OverlappingTextsOnOneRowTakeAPassEach) {
    PatternGlyphs glyphs;
    const decoded::Page page = decoded::Decode(
        escp::RenderTextMode({{"ABCD", kLucida, 12, 100, 50}, {"xy", kLucida, 12, 120, 50}}, kForm, glyphs)
            .bytes);
    ASSERT_EQ(page.marks.size(), 6u);
    EXPECT_EQ(page.marks[4].x, 120);
    EXPECT_EQ(page.passes, 2);
}

TEST(JisX0208, HoldsTheJisCharactersAndNoneOfTheExtensions) {
    struct Case {
        const char* cp932;
        int jis; // 0: not JIS X 0208
    } cases[] = {
        {"\x93\x8C", 0x456C}, // 東
        {"\x83\x41", 0x2522}, // ア
        {"\x82\x4F", 0x2330}, // ０
        {"\x81\x40", 0x2121}, // ideographic space
        {"\x81\x60", 0x2141}, // ～
        {"\x81\xCA", 0x224C}, // ￢
        {"\x84\xBE", 0x2840}, // the last box-drawing character
        {"\x98\x72", 0x4F53}, // 腕, the last of level 1
        {"\xEA\xA4", 0x7426}, // 熙, the last of level 2
        {"\x84\xBF", 0},      // past the box drawings
        {"\x98\x73", 0},      // past level 1
        {"\xEA\xA5", 0},      // past level 2
        {"\x81\xAD", 0},      // a gap in row 2
        {"\x87\x40", 0},      // ① (NEC row 13)
        {"\xED\x40", 0},      // NEC-selected IBM extension
        {"\xFA\xB1", 0},      // 﨑 (IBM extension)
        {"\xFB\xFC", 0},      // 髙
        {"\xF0\x40", 0},      // user-defined
        {"\x81\x7F", 0},      // no trail byte
    };
    for (const Case& c : cases) {
        const auto jis =
            escp::JisX0208Of(static_cast<unsigned char>(c.cp932[0]), static_cast<unsigned char>(c.cp932[1]));
        EXPECT_EQ(jis.value_or(0), c.jis) << std::hex << (c.cp932[0] & 0xFF) << (c.cp932[1] & 0xFF);
    }
}

} // namespace
