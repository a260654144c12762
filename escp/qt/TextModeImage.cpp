#include "escp/qt/TextModeImage.h"

#include "print/qt/SlipImage.h"

#include <QPainter>

namespace {

constexpr QRgb kCellColour = 0xFF909090;
constexpr QRgb kBoxColour = 0xFFD0D0D0;

// `dots` drawn from (x, y), each dot `sx` by `sy` pixels.
void Dots(QPainter& p, const escp::GlyphBitmap& dots, int x, int y, int sx, int sy, QRgb colour) {
    for (int row = 0; row < dots.height; ++row)
        for (int col = 0; col < dots.width; ++col)
            if (dots.Ink(col, row)) p.fillRect(x + col * sx, y + row * sy, sx, sy, QColor::fromRgb(colour));
}

void Outline(QPainter& p, int x, int y, int width, int height, QRgb colour) {
    p.setPen(QColor::fromRgb(colour));
    p.setBrush(Qt::NoBrush);
    p.drawRect(x, y, width - 1, height - 1);
}

} // namespace

QImage RenderTextModeImage(const PageGeometry& paper, const SlipPlacement& at, const escp::TextModeJob& job,
                           escp::GlyphSource& glyphs, const escp::CommandSet& set) {
    PdfPageSetup setup;
    setup.width = paper.width;
    setup.length = paper.length;
    setup.resolutionX = setup.resolutionY = set.dpi;
    QImage image = RenderSlipImage(setup, at, {}, true).convertToFormat(QImage::Format_RGB32);
    QPainter p(&image);
    for (const escp::TextPlan& t : job.texts) {
        Outline(p, t.cellX, t.cellY, t.cellWidth, t.cellHeight, t.fits ? kCellColour : kOverrunColour);
        const escp::CharSize& size = set.sizes[t.size];
        for (const escp::Strike& s : t.strikes) {
            if (s.kind == escp::StrikeKind::Bitmap) {
                Dots(p, s.bitmap, s.x, s.y, 1, 1, kPictureColour);
                Outline(p, s.x, s.y, s.width, s.height, kPictureColour);
                continue;
            }
            Outline(p, s.x, s.y, s.width, s.height, kBoxColour);
            // The printer's character sits at the box's left, its spacing to the right, and is widened
            // or heightened whole.
            const int width =
                s.kind == escp::StrikeKind::Kanji ? set.kanjiWidth : set.ankPitches[t.pitch].width;
            Dots(p, glyphs.Glyph(t.font, s.ch, width, set.cellHeight), s.x, s.y, size.scaleX, size.scaleY,
                 0xFF000000);
        }
    }
    for (const escp::Strike& s : job.pictures)
        Dots(p, s.bitmap, s.x, s.y, 1, 1, 0xFF000000);
    return image;
}
