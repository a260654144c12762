// The effective resolution of a print job and how the slip's draws reach the page's canvas.
#include "print/EffectiveResolution.h"
#include "print/SlipCanvas.h"
#include "slip/SampleSlip.h"
#include "unit/printer/RecordingCanvas.h"
#include "unit/support/Sjis.h"

#include <gtest/gtest.h>

TEST(EffectiveResolution, DividesByTheDriversScaleAndTruncates) {
    EXPECT_EQ(EffectiveResolution(360, 100), 360);
    EXPECT_EQ(EffectiveResolution(360, 50), 720);
    EXPECT_EQ(EffectiveResolution(203, 150), 135); // 135.33
    EXPECT_EQ(EffectiveResolution(180, 400), 45);
}

TEST(EffectiveResolution, ScaleZeroCountsAsOneHundred) {
    EXPECT_EQ(EffectiveResolution(360, 0), 360);
}

TEST(EffectiveResolution, ScaleIsUnsignedSixteenBits) {
    // A driver value read as a negative 16-bit number is a large unsigned scale.
    EXPECT_EQ(EffectiveResolution(360, static_cast<std::uint16_t>(std::int16_t{-1})), 0); // 36000 / 65535
    EXPECT_EQ(EffectiveResolution(72000, static_cast<std::uint16_t>(std::int16_t{-32768})), 219); // / 32768
}

TEST(DrawSlip, EveryDrawReachesTheCanvasInOrderWithItsFontAndSize) {
    // The sample slip at 180 dpi, moved by the margins.
    std::vector<SlipDraw> draws = LayoutSlip({"180", "180", "3", "-2"}, slip::SampleSlip());
    RecordingCanvas canvas;
    DrawSlip(canvas, draws);
    ASSERT_EQ(canvas.texts.size(), draws.size());
    for (std::size_t i = 0; i < draws.size(); ++i) {
        const RecordedText& t = canvas.texts[i];
        EXPECT_EQ(t.text, draws[i].text) << i;
        EXPECT_EQ(t.x, draws[i].x) << i;
        EXPECT_EQ(t.y, draws[i].y) << i;
        EXPECT_EQ(t.fontName, draws[i].font) << i;
        EXPECT_EQ(t.fontSize, draws[i].size) << i;
        EXPECT_EQ(t.fontColor, clBlack) << i;
        EXPECT_EQ(t.brushColor, clWhite) << i;
        EXPECT_EQ(t.fontStyle, 0) << i;
    }
}

TEST(DrawSlip, StartsFromTheFormsDrawingStateWhateverTheCanvasHeld) {
    RecordingCanvas canvas;
    canvas.SetFontColor(0x0000FF);
    canvas.SetBrushColor(0x00FF00);
    canvas.SetFontStyle(fsBold | fsUnderline);
    canvas.SetFontName("Courier");
    canvas.SetFontSize(30);
    DrawSlip(canvas, {});
    EXPECT_TRUE(canvas.texts.empty());
    EXPECT_EQ(canvas.FontName(), Cp932FromUtf8("ＭＳ Ｐ明朝"));
    EXPECT_EQ(canvas.FontSize(), 11);
    EXPECT_EQ(canvas.FontColor(), clBlack);
    EXPECT_EQ(canvas.BrushColor(), clWhite);
    EXPECT_EQ(canvas.FontStyle(), 0);
}
