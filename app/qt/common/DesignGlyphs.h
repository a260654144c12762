#pragma once
// The standard glyphs of the design's buttons. Looking the first one up (the icon theme, the images)
// costs more than building the rest of the main window, so buttons get theirs once their window has
// been painted: the same glyphs, a moment later.
#include <QStyle>

class QPushButton;
class QWidget;

// Remembers the glyph `button` is to show.
void SetGlyphLater(QPushButton* button, QStyle::StandardPixmap glyph);
// Gives every button under `window` the glyph it is waiting for.
void ApplyGlyphs(QWidget* window);
