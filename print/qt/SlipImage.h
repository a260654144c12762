#pragma once
// The slip as a picture of the whole paper, one pixel per device dot, drawn by the print job's own
// replay onto an image canvas: for the preview, the probe and docs/slip-layout.png.
#include "print/SlipLayout.h"
#include "printer/HqCanvas.h"
#include "printer/qt/PdfCanvas.h"

#include <QImage>

#include <vector>

// The box outlines' colour: a light blue that no printed text has.
inline constexpr TColor kOutlineColor = 0xD77800;

// `outlines`: the form's boxes under the texts, placed with `at` as the texts are.
QImage RenderSlipImage(const PdfPageSetup& page, const SlipPlacement& at, const std::vector<SlipDraw>& draws,
                       bool outlines);
