// The text mode's byte stream read back by the decoder of EscpDecoder.h: every text where the layout
// puts it, in the printer's own characters or as a picture, inside its cell, one pass per row.
#include "unit/escp/EscpDecoder.h"
#include "unit/support/Sjis.h"

#include "escp/JisX0208.h"
#include "escp/TextModeRenderer.h"
#include "print/TestPage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

const std::string kMincho = Cp932FromUtf8("ＭＳ Ｐ明朝"), kSans = "Microsoft Sans Serif",
                  kLucida = "Lucida Sans Unicode";
constexpr escp::PageDots kForm{1800, 720}; // 10 x 4 inches

// Cells `line` ems high; each character a pattern of its own bytes, never blank.
struct PatternGlyphs : escp::GlyphSource {
    double line = 1.2;
    int LineHeight(const std::string&, int points, int dpi) override {
        return static_cast<int>(line * points * dpi / 72);
    }
    escp::GlyphBitmap Glyph(const std::string&, const std::string& ch, int width, int height) override {
        escp::GlyphBitmap b{width, height, {}};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                b.dots.push_back(Dot(ch, x, y));
        return b;
    }
    static bool Dot(const std::string& ch, int x, int y) {
        return (x * 7 + y * 3 + ch[0] + ch.back()) % 5 == 0;
    }
};

// The CP932 bytes of a JIS code: two rows to a lead byte, the odd row's cells first.
std::string SjisOf(int jis) {
    const int row = (jis >> 8) - 0x20, cell = (jis & 0xFF) - 0x20;
    return {static_cast<char>((row + 1) / 2 + (row <= 62 ? 0x80 : 0xC0)),
            static_cast<char>(row % 2 ? cell + 0x3F + (cell >= 64) : cell + 0x9E)};
}

std::vector<std::uint8_t> Columns(const std::string& ch, int width) { // top dot in the high bit
    std::vector<std::uint8_t> out(3 * static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < 24; ++y)
            if (PatternGlyphs::Dot(ch, x, y)) out[3 * x + y / 8] |= 0x80 >> (y % 8);
    return out;
}

struct Text {
    std::string text, font;
    int size, x, y;
    std::vector<std::string> struck; // the characters struck, after the blanks at the ends
    const char* kinds;               // of each: Kanji, Ank or Bitmap
    int leading = 0;                 // blanks before them, in bytes
};

const std::vector<Text> kTexts = {
    {Cp932FromUtf8("東京都千代田区"), kMincho, 12, 150, 125, {}, "KKKKKKK"},
    {Cp932FromUtf8("髙橋﨑①"), kMincho, 10, 150, 170, {}, "BKBB"},
    {Cp932FromUtf8("梅田3-1"), kMincho, 10, 150, 200, {}, "KKAAA"},
    {Cp932FromUtf8("山田　太郎"), kMincho, 12, 700, 200, {}, "KKKKK"}, // the ideographic space is a kanji
    {Cp932FromUtf8("ｱﾊﾟ"), kMincho, 12, 150, 240, {}, "BBB"},          // half-width kana are not JIS X 0208
    {Cp932FromUtf8("       5,000"), kSans, 9, 968, 378, {}, "AAAAA", 7},
    {"\x5C", kSans, 13, 703, 371, {}, "A"},             // the yen sign of the Japanese character set
    {Cp932FromUtf8("○"), kSans, 16, 923, 270, {}, "K"}, // double height: 1.2 ems hold it
    {"06-1234", kLucida, 12, 219, 592, {}, "AAAAAAA"},
    {"a\x1b"
     "b\x7f",
     kLucida,
     12,
     900,
     592,
     {},
     "ABAB"},                                // bytes the printer would obey are pictures
    {"\x95", kLucida, 12, 204, 34, {}, "B"}, // half a character
    {Cp932FromUtf8("～－￢∵"), kMincho, 12, 1200, 125, {}, "KKKK"}, // JIS characters whatever their Unicode
    {"   ", kLucida, 12, 500, 500, {}, ""},
};

TEST(EscpTextMode, EveryTextIsStruckWhereTheLayoutPutsItOnePassPerRow) {
    PatternGlyphs glyphs;
    std::vector<SlipDraw> draws;
    for (const Text& t : kTexts)
        draws.push_back({t.text, t.font, t.size, t.x, t.y});
    const escp::TextModeJob job = escp::RenderTextMode(draws, kForm, glyphs);
    const decoded::Page page = decoded::Decode(job.bytes);
    ASSERT_EQ(page.errors, std::vector<std::string>{});

    std::size_t struck = 0;
    std::set<int> rows;
    for (const Text& t : kTexts) {
        SCOPED_TRACE(t.text);
        std::vector<std::string> chars;
        for (std::size_t i = 0; i < t.text.size(); i += chars.back().size()) { // a lead byte takes the next
            const auto b = static_cast<unsigned char>(t.text[i]);
            chars.push_back(t.text.substr(i, (b >= 0x81 && b <= 0x9F) || b >= 0xE0 ? 2 : 1));
        }
        const std::string kinds = t.kinds;
        struck += kinds.size();
        const int start = t.x + t.leading * t.size * 180 / 144;
        auto m = std::find_if(page.marks.begin(), page.marks.end(), [&](const decoded::Mark& m) {
            return m.y == t.y && std::abs(m.x - start) <= 1;
        });
        if (kinds.empty()) continue;
        ASSERT_LE(kinds.size(), static_cast<std::size_t>(page.marks.end() - m)) << "nothing at " << start;
        rows.insert(m->height == 48 ? t.y + 24 : t.y);
        for (std::size_t i = 0; i < kinds.size(); ++i, ++m) {
            SCOPED_TRACE(i);
            EXPECT_EQ(m->x, i > 0 ? m[-1].x + m[-1].width : m->x);
            EXPECT_EQ(m->y, t.y);
            EXPECT_LE(m->x + m->width,
                      t.x + static_cast<int>(t.text.size()) * t.size * 180 / 144); // the cell
            EXPECT_LE(m->y + m->height, t.y + static_cast<int>(1.2 * t.size * 180 / 72));
            const std::string& ch = chars[t.leading + i];
            const decoded::Kind kind = kinds[i] == 'K'   ? decoded::Kind::Kanji
                                       : kinds[i] == 'A' ? decoded::Kind::Ank
                                                         : decoded::Kind::Bitmap;
            ASSERT_EQ(m->kind, kind);
            if (kind == decoded::Kind::Bitmap) {
                EXPECT_EQ(m->columns, Columns(ch, m->width));
            } else {
                EXPECT_EQ(kind == decoded::Kind::Kanji ? SjisOf(m->code) : std::string(1, char(m->code)), ch);
            }
        }
    }
    EXPECT_EQ(page.marks.size(), struck);                             // and nothing else
    EXPECT_EQ(page.rows, std::vector<int>(rows.begin(), rows.end())); // each row once, top to bottom
    EXPECT_EQ(page.passes, static_cast<int>(rows.size()));
    EXPECT_EQ(job.passes, page.passes);
    EXPECT_TRUE(page.formFeed);
}

TEST(EscpTextMode, SizeIsTheNearestThatStaysInTheCellAtTheLayoutsEm) {
    struct {
        int size;
        double line; // ems
        int width, height;
    } cases[] = {
        {12, 1.0, 30, 24}, {10, 1.0, 25, 24}, {20, 1.2, 50, 48}, {20, 0.9, 50, 24}, {9, 1.0, 24, 24}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        PatternGlyphs glyphs;
        glyphs.line = c.line;
        const escp::TextModeJob job =
            escp::RenderTextMode({{Cp932FromUtf8("永永"), kMincho, c.size, 90, 90}}, kForm, glyphs);
        const decoded::Page page = decoded::Decode(job.bytes);
        ASSERT_EQ(page.marks.size(), 2u);
        EXPECT_EQ(page.marks[1].x - 90, c.width);
        EXPECT_EQ(page.marks[1].height, c.height);
        EXPECT_EQ(page.marks[1].y, 90);
        EXPECT_EQ(job.texts[0].fits, c.size != 9); // 9 points are narrower than any kanji of the printer
    }
}

TEST(EscpTextMode, PageLengthIsThePapers) {
    for (int length : {720, 990, 1001, 288}) {
        PatternGlyphs glyphs;
        const decoded::Page page = decoded::Decode(escp::RenderTextMode({}, {1800, length}, glyphs).bytes);
        EXPECT_EQ(page.pageLength, length);
        EXPECT_TRUE(page.formFeed);
    }
}

TEST(EscpTextMode, NothingLeavesThePaperAndOverlapsTakeAPassOfTheirOwn) {
    PatternGlyphs glyphs;
    const std::vector<SlipDraw> draws = {
        {"ABCDEFGH", kLucida, 12, 1700, 100}, // 100 dots to the right edge hold six at 15 dots
        {"below", kLucida, 12, 100, 700},     // its line would end below the paper
        {"left", kLucida, 12, -40, -10},      // moved onto the paper
        {"xy", kLucida, 12, 20, 0},           // overlaps "left" on its row
    };
    const decoded::Page page = decoded::Decode(escp::RenderTextMode(draws, kForm, glyphs).bytes);
    ASSERT_EQ(page.errors, std::vector<std::string>{});
    std::string struck;
    for (const decoded::Mark& m : page.marks)
        struck += static_cast<char>(m.code);
    EXPECT_EQ(struck, "leftxyABCDEF");
    EXPECT_EQ(page.marks[0].x, 0);
    EXPECT_EQ(page.marks[4].x, 20);
    EXPECT_EQ(page.rows, (std::vector<int>{0, 0, 100}));
}

TEST(EscpTestPage, LinesAreStruckDotForDotAndLabelsAsTextInPassesDownThePage) {
    PatternGlyphs glyphs;
    const TestPage testPage = LayoutTestPage({"180", "180", "12", "-3"}); // the left ruler is off the paper
    const escp::TextModeJob job = escp::RenderTestPage(testPage, kForm, glyphs);
    const decoded::Page page = decoded::Decode(job.bytes);
    ASSERT_EQ(page.errors, std::vector<std::string>{});

    std::set<std::pair<int, int>> lineDots, struckDots;
    for (const DotLine& l : testPage.lines) {
        ASSERT_TRUE(l.x0 == l.x1 || l.y0 == l.y1);
        for (int x = std::min(l.x0, l.x1); x <= std::max(l.x0, l.x1); ++x)
            for (int y = std::min(l.y0, l.y1); y <= std::max(l.y0, l.y1); ++y)
                if (x >= 0 && x < kForm.width && y >= 0 && y < kForm.length) lineDots.insert({x, y});
    }
    std::size_t characters = 0;
    for (const decoded::Mark& m : page.marks) {
        if (m.kind != decoded::Kind::Bitmap) {
            ++characters;
            continue;
        }
        for (int c = 0; c < m.width; ++c)
            for (int y = 0; y < 24; ++y)
                if (m.columns[3 * c + y / 8] & 0x80 >> y % 8) struckDots.insert({m.x + c, m.y + y});
    }
    EXPECT_EQ(struckDots.size(), lineDots.size());
    EXPECT_TRUE(struckDots == lineDots);

    std::size_t labelled = 0;
    for (const SlipDraw& label : testPage.labels) {
        SCOPED_TRACE(label.text);
        if (label.y + 24 > kForm.length) continue; // the rulers run on below the form
        for (std::size_t i = 0; i < label.text.size(); ++labelled) {
            const auto b = static_cast<unsigned char>(label.text[i]);
            i += (b >= 0x81 && b <= 0x9F) || b >= 0xE0 ? 2 : 1;
        }
        EXPECT_TRUE(std::any_of(page.marks.begin(), page.marks.end(), [&](const decoded::Mark& m) {
            return m.kind != decoded::Kind::Bitmap && m.x == label.x && m.y == label.y;
        }));
    }
    EXPECT_EQ(characters, labelled);
    EXPECT_TRUE(std::is_sorted(page.rows.begin(), page.rows.end()));
    EXPECT_EQ(job.passes, page.passes);
    EXPECT_EQ(page.pageLength, kForm.length);
}

TEST(EscpJisX0208, EndsOfItsRowsAndNoneOfTheExtensions) {
    const std::pair<const char*, int> cases[] = {
        {"\x84\xBE", 0x2840}, {"\x84\xBF", 0}, // the box drawings end
        {"\x98\x72", 0x4F53}, {"\x98\x73", 0}, // level 1 ends
        {"\xEA\xA4", 0x7426}, {"\xEA\xA5", 0}, // level 2 ends
        {"\x81\xAC", 0x222E}, {"\x81\xAD", 0}, // a gap in row 2
        {"\xED\x40", 0},      {"\xF0\x40", 0}, // NEC-selected IBM extension, user-defined
        {"\x81\x7F", 0},                       // no trail byte
    };
    for (const auto& [cp932, jis] : cases)
        EXPECT_EQ(escp::JisX0208Of(cp932[0], cp932[1]).value_or(0), jis) << (cp932[1] & 0xFF);
}

} // namespace
