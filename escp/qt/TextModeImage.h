#pragma once
// The text-mode preview: the paper one pixel per dot of the command set, the form's boxes under the
// printer's character grid, so that what the user sees is what the head will strike.
#include "escp/GlyphSource.h"
#include "escp/TextModeRenderer.h"
#include "print/SlipLayout.h"

#include <QImage>

// Characters the printer lacks, struck as pictures, and their boxes.
inline constexpr QRgb kPictureColour = 0xFFC00000;
// A text whose characters overrun its cell even at the printer's smallest: its cell's outline.
inline constexpr QRgb kOverrunColour = 0xFFE08000;

// Each text's cell outlined (grey, or kOverrunColour where it does not fit), each character's box in a
// lighter grey with the character as the printer forms it at its size, the pictures and their boxes in
// kPictureColour, the job's other pictures (the test page's lines) in black. `paper` in points, the
// boxes placed with `at` as the texts are.
QImage RenderTextModeImage(const PageGeometry& paper, const SlipPlacement& at, const escp::TextModeJob& job,
                           escp::GlyphSource& glyphs, const escp::CommandSet& set = escp::kEscpKanji24);
