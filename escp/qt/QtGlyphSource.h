#pragma once
// The text mode's fonts from the PDF page's own faces: the cell heights the page fills and the
// pictures of the characters the printer lacks, rasterised as the page would draw them.
#include "escp/GlyphSource.h"

#include <map>
#include <string>

// Needs a QGuiApplication.
class QtGlyphSource : public escp::GlyphSource {
public:
    QtGlyphSource();

    int LineHeight(const std::string& font, int points, int dpi) override;
    escp::GlyphBitmap Glyph(const std::string& font, const std::string& ch, int width, int height) override;

private:
    int Line(const std::string& font);

    std::map<std::string, int> lines_; // ascent plus descent per 1000 of an em, by face
};
