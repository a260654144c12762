// Millimetres measured on a test page, as the whole dots the margins count.
#include "platform/RuntimeErrors.h"
#include "print/MillimetreOffset.h"

#include <gtest/gtest.h>

namespace {

struct Conversion {
    const char* millimetres;
    int dpi;
    std::int64_t dots;
};

TEST(MillimetresToDots, RoundsToTheNearestDotHalfAwayFromZero) {
    const Conversion table[] = {
        {"1", 360, 14},    {"1.5", 360, 21}, {"-1.5", 360, -21}, {"25.4", 360, 360}, {"0.035", 360, 0},
        {"0.036", 360, 1}, {"1.5", 180, 11}, {"-1.5", 180, -11}, {"1", 180, 7},      {"-0.7", 180, -5},
        {"1.5", 120, 7},   {"1.5", 60, 4},   {"-1.5", 60, -4},   {"0.0635", 200, 1}, {"-0.0635", 200, -1},
    };
    for (const Conversion& c : table)
        EXPECT_EQ(MillimetresToDots(*TryStrToCurr(c.millimetres), c.dpi), c.dots)
            << c.millimetres << " mm at " << c.dpi;
}

TEST(ShiftMargin, AddsTheOffsetEachWayAtItsOwnResolution) {
    // 120 x 60 dpi: the same 1.5 mm is 7 dots across and 4 down.
    EXPECT_EQ(ShiftMargin("3", "1.5", 120), "10");
    EXPECT_EQ(ShiftMargin("3", "1.5", 60), "7");
    EXPECT_EQ(ShiftMargin("12", "-1.5", 360), "-9");
    EXPECT_EQ(ShiftMargin("", "2", 180), "14");
    EXPECT_EQ(ShiftMargin("-5", "", 360), "-5");
}

TEST(ShiftMargin, RefusesWhatIsNotANumber) {
    auto message = [](const char* margin, const char* mm) {
        try {
            ShiftMargin(margin, mm, 360);
        } catch (const EConvertError& e) {
            return e.Message();
        }
        return std::string("no error");
    };
    EXPECT_EQ(message("1.5", "1"), "'1.5' is not a valid integer value");
    EXPECT_EQ(message("0", "1,5"), "'1,5' is not a valid floating point value");
    EXPECT_EQ(message("2147483647", "1"), "'2147483661' is not a valid integer value");
}

TEST(DotPitchText, IsOneDotInMillimetres) {
    EXPECT_EQ(DotPitchText(360), "0.071");
    EXPECT_EQ(DotPitchText(180), "0.141");
    EXPECT_EQ(DotPitchText(60), "0.423");
    EXPECT_EQ(DotPitchText(0), "-");
}

} // namespace
