#pragma once
// What the text mode needs of the fonts the PDF page is drawn with: the height of a text's cell and
// the pictures of the characters the printer lacks. The Qt side answers from the page's own faces
// (escp/qt/QtGlyphSource); the rules never look at a font themselves.
#include <cstdint>
#include <string>
#include <vector>

namespace escp {

// A picture in printer dots, row by row from the top; a non-zero byte is a dot struck.
struct GlyphBitmap {
    int width = 0, height = 0;
    std::vector<std::uint8_t> dots;

    bool Ink(int x, int y) const { return dots[static_cast<std::size_t>(y) * width + x] != 0; }
};

class GlyphSource {
public:
    virtual ~GlyphSource() = default;

    // Dots from the top of a text's cell to its bottom (the face's ascent plus descent) for `font`
    // (CP932 face name, as the layout names it) at `points`, at `dpi`, rounded down.
    virtual int LineHeight(const std::string& font, int points, int dpi) = 0;

    // The character `ch` (CP932: one character, or a byte that starts none) as the page would draw it
    // in `font`, scaled so that an em fills `height` dots like the printer's own characters, centred
    // in `width` dots; exactly `width` x `height` dots.
    virtual GlyphBitmap Glyph(const std::string& font, const std::string& ch, int width, int height) = 0;
};

} // namespace escp
