#include "escp/qt/QtGlyphSource.h"

#include "platform/qt/QtText.h"
#include "printer/qt/PdfCanvas.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// The face of the page's text cells at a size in pixels, unhinted as the page's rasteriser draws it.
QFont PageFont(const std::string& font, double pixels) {
    QFont f = CanvasFont(FromCp932(font), 1, 0);
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

// Ascent plus descent in thousandths of an em, measured large, as every size of an outline face scales.
int LinePerMille(const std::string& font) {
    const QFontMetricsF m(PageFont(font, 1000));
    return std::max(1, static_cast<int>(std::lround(m.ascent() + m.descent())));
}

} // namespace

QtGlyphSource::QtGlyphSource() {
    InstallFontSubstitutes();
}

int QtGlyphSource::Line(const std::string& font) {
    auto it = lines_.find(font);
    if (it == lines_.end()) it = lines_.emplace(font, LinePerMille(font)).first;
    return it->second;
}

int QtGlyphSource::LineHeight(const std::string& font, int points, int dpi) {
    return static_cast<int>(static_cast<long>(Line(font)) * points * dpi / (72L * 1000));
}

escp::GlyphBitmap QtGlyphSource::Glyph(const std::string& font, const std::string& ch, int width,
                                       int height) {
    escp::GlyphBitmap bitmap{width, height,
                             std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height)};
    if (width <= 0 || height <= 0) return bitmap;
    QString text = FromCp932(ch);
    text.replace(QChar(0x5C), QChar(0xA5)); // as the page draws byte 0x5C

    // An em fills the character's height, as the printer's own characters fill theirs; the baseline
    // sits where the face's ascent puts it, the text centred across.
    const QFont face = PageFont(font, height);
    const QFontMetricsF m(face);
    QImage image(width, height, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.setFont(face);
        p.setPen(Qt::black);
        p.drawText(QPointF((width - m.horizontalAdvance(text)) / 2, std::min(m.ascent(), height * 0.88)),
                   text);
    }
    // A pin strikes a whole dot: a dot a quarter covered is struck, so hairlines of a Mincho face stay.
    for (int y = 0; y < height; ++y) {
        const uchar* row = image.constScanLine(y);
        for (int x = 0; x < width; ++x)
            bitmap.dots[static_cast<std::size_t>(y) * width + x] = row[x] < 192;
    }
    return bitmap;
}
