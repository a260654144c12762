#include "app/qt/common/DesignGlyphs.h"

#include <QPushButton>
#include <QVariant>

namespace {

constexpr const char* kPendingGlyph = "zaridiPendingGlyph";

} // namespace

void SetGlyphLater(QPushButton* button, QStyle::StandardPixmap glyph) {
    button->setProperty(kPendingGlyph, static_cast<int>(glyph));
}

void ApplyGlyphs(QWidget* window) {
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        const QVariant glyph = button->property(kPendingGlyph);
        if (!glyph.isValid()) continue;
        button->setIcon(button->style()->standardIcon(static_cast<QStyle::StandardPixmap>(glyph.toInt())));
        button->setProperty(kPendingGlyph, QVariant());
    }
}
