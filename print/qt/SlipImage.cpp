#include "print/qt/SlipImage.h"

#include "print/SlipCanvas.h"
#include "print/SlipOutlines.h"
#include "printer/qt/ImageCanvas.h"

QImage RenderSlipImage(const PdfPageSetup& page, const SlipPlacement& at, const std::vector<SlipDraw>& draws,
                       bool outlines) {
    ImageCanvas canvas(page);
    if (outlines) DrawLines(canvas, SlipOutlines(at), kOutlineColor);
    DrawSlip(canvas, draws);
    return canvas.Finish();
}
