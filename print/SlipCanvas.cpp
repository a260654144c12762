#include "print/SlipCanvas.h"

#include "platform/Cp932Codec.h"
#include "printer/DesignFonts.h"

void DrawSlip(HqCanvas& canvas, const std::vector<SlipDraw>& draws) {
    canvas.SetFontName(cp932::FromUtf8(design_font::kPMincho));
    canvas.SetFontSize(11);
    canvas.SetFontColor(clBlack);
    canvas.SetFontStyle(0);
    canvas.SetBrushColor(clWhite);
    for (const SlipDraw& d : draws) {
        if (canvas.FontName() != d.font) canvas.SetFontName(d.font);
        if (canvas.FontSize() != d.size) canvas.SetFontSize(d.size);
        canvas.TextOut(d.x, d.y, d.text);
    }
}
