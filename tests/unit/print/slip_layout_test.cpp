#include "platform/RuntimeErrors.h"
#include "print/SlipLayout.h"
#include "unit/support/Sjis.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

SlipFields FullSlip() {
    SlipFields f;
    f.dpix = f.dpiy = "360";
    f.zip = "123-4567";
    f.add1 = Sj("東京都千代田区千代田１－１");
    f.add2 = Sj("千代田ビル３階");
    f.add3 = Sj("総務部");
    f.custo1 = Sj("山田太郎");
    f.tel = "090-1234-5678";
    f.g1 = Sj("衣料品");
    f.g2 = Sj("雑貨");
    f.g3 = Sj("書籍");
    f.date = "2026/12/07";
    f.kosuu = "2";
    f.priceSub = "5000";
    f.taxSub = "238";
    f.p2 = true;
    f.myZip = "530-0001";
    f.myAdd1 = Sj("大阪府大阪市北区梅田１－１");
    f.myAdd2 = Sj("梅田ビル");
    f.my = Sj("タヴォ商店");
    f.myTel = "06-1234-5678";
    return f;
}

// The draws at layout row y (device y at 360 dpi without margins), in drawing order.
std::vector<SlipDraw> Row(const std::vector<SlipDraw>& draws, std::int32_t deviceY) {
    std::vector<SlipDraw> row;
    std::copy_if(draws.begin(), draws.end(), std::back_inserter(row),
                 [&](auto& d) { return d.y == deviceY; });
    return row;
}

std::string Texts(const std::vector<SlipDraw>& draws) {
    std::string s;
    for (auto& d : draws)
        s += "[" + d.text + "]";
    return s;
}

} // namespace

TEST(SlipScale, LayoutUnitsBecomeDotsWithHalvesRoundedAway) {
    EXPECT_EQ(ScaleFromDpi(360), 22500);
    EXPECT_EQ(ScaleFromDpi(180), 11250);
    EXPECT_EQ(ScaleFromDpi(1), 62);                  // 62.5 goes to the even neighbour
    EXPECT_EQ(ScaleFromDpi(3), 188);                 // 187.5 likewise
    EXPECT_EQ(ScaleFromDpi(203), 12688);             // 12687.5
    EXPECT_EQ(PlaceLayoutUnit(22500, 186, 0), 419);  // 418.5 rounds up
    EXPECT_EQ(PlaceLayoutUnit(22500, 30, 0), 68);    // 67.5 rounds up
    EXPECT_EQ(PlaceLayoutUnit(22500, 186, -5), 414); // margin after rounding
    EXPECT_EQ(PlaceLayoutUnit(-22500, 186, 0), -419);
}

TEST(SlipLayout, FullSlipHas48TextsAndTheFirstBoxAt419x68) {
    auto draws = LayoutSlip(FullSlip());
    std::size_t nonEmpty = std::count_if(draws.begin(), draws.end(), [](auto& d) { return !d.text.empty(); });
    EXPECT_EQ(nonEmpty, 48u);
    ASSERT_FALSE(draws.empty());
    EXPECT_EQ(draws[0].x, 419);
    EXPECT_EQ(draws[0].y, 68);
    EXPECT_EQ(draws[0].font, "Lucida Sans Unicode");
    EXPECT_EQ(draws[0].size, 12);
}

TEST(SlipLayout, MarginsShiftEverythingAndEmptyEqualsZero) {
    SlipFields f = FullSlip();
    auto base = LayoutSlip(f);
    f.prnTop = "0";
    f.prnLeft = "0";
    auto zero = LayoutSlip(f);
    f.prnTop = "-5";
    f.prnLeft = "12";
    auto moved = LayoutSlip(f);
    ASSERT_EQ(base.size(), moved.size());
    for (std::size_t i = 0; i < base.size(); ++i) {
        EXPECT_EQ(zero[i].x, base[i].x);
        EXPECT_EQ(zero[i].y, base[i].y);
        EXPECT_EQ(moved[i].x, base[i].x + 12);
        EXPECT_EQ(moved[i].y, base[i].y - 5);
    }
}

TEST(SlipLayout, NonIntegerCaptionsRaiseBeforeAnythingIsDrawn) {
    for (auto setBad : {+[](SlipFields& f) { f.dpix = ""; }, +[](SlipFields& f) { f.dpiy = "360.0"; },
                        +[](SlipFields& f) { f.prnTop = "1.5"; }, +[](SlipFields& f) { f.prnLeft = "x"; }}) {
        SlipFields f = FullSlip();
        setBad(f);
        EXPECT_THROW(LayoutSlip(f), EConvertError);
    }
    SlipFields f = FullSlip();
    f.prnLeft = "12.0";
    try {
        LayoutSlip(f);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'12.0' is not a valid integer value");
    }
}

TEST(SlipLayout, PostcodeBoxesSkipTheFourthByte) {
    SlipFields f = FullSlip();
    f.zip = "1234567";
    EXPECT_EQ(Texts(Row(LayoutSlip(f), 68)), "[1][2][3][5][6][7][]");
}

TEST(SlipLayout, TelephoneBoxesTakeThirteenBytes) {
    SlipFields f = FullSlip();
    f.tel = "03-1234-5678";
    EXPECT_EQ(Texts(Row(LayoutSlip(f), 648)), "[0][3][-][1][2][3][4][-][5][6][7][8][]");
    f.tel = "090-1234-56789";
    EXPECT_EQ(Texts(Row(LayoutSlip(f), 648)), "[0][9][0][-][1][2][3][4][-][5][6][7][8]");
}

TEST(SlipLayout, PiecesAreRightAlignedInThreeBoxes) {
    EXPECT_EQ(RightAlign3("1"), "  1");
    EXPECT_EQ(RightAlign3(""), "   ");
    EXPECT_EQ(RightAlign3(" 120 "), "120");
    EXPECT_EQ(RightAlign3("1234"), "234");
    SlipFields f = FullSlip();
    f.kosuu = "1";
    auto row = Row(LayoutSlip(f), 146); // 65 * 2.25 = 146.25
    EXPECT_EQ(Texts(row), "[ ][ ][1]");
    EXPECT_EQ(row[2].x, 1413);
}

TEST(SlipLayout, AmountStandsRightAlignedBehindTheYenByte) {
    SlipFields f = FullSlip();
    auto amount = [&] {
        auto draws = LayoutSlip(f);
        std::vector<SlipDraw> boxes;
        std::copy_if(draws.begin(), draws.end(), std::back_inserter(boxes),
                     [](auto& d) { return d.size == 13 && d.font == "Microsoft Sans Serif"; });
        return Texts(boxes);
    };
    f.priceSub = "5000";
    EXPECT_EQ(amount(), "[ ][ ][\x5C][5][0][0][0]");
    f.priceSub = "123456";
    EXPECT_EQ(amount(), "[\x5C][1][2][3][4][5][6]");
    f.priceSub = "1234567";
    EXPECT_EQ(amount(), "[1][2][3][4][5][6][7]");
    f.priceSub = "-300";
    EXPECT_EQ(amount(), "[ ][ ][\x5C][-][3][0][0]");
}

TEST(SlipLayout, ZeroAmountPrintsNoAmountTaxOrMark) {
    SlipFields f = FullSlip();
    f.priceSub = "0";
    f.p1 = true;
    auto draws = LayoutSlip(f);
    EXPECT_TRUE(
        std::none_of(draws.begin(), draws.end(), [](auto& d) { return d.font == "Microsoft Sans Serif"; }));
    f.priceSub = "abc";
    draws = LayoutSlip(f);
    EXPECT_TRUE(
        std::none_of(draws.begin(), draws.end(), [](auto& d) { return d.font == "Microsoft Sans Serif"; }));
}

TEST(SlipLayout, OnlyTheFirstCheckedPaymentKindGetsTheMark) {
    SlipFields f = FullSlip();
    f.p1 = true;
    f.p2 = false;
    f.p3 = true;
    auto marks = Row(LayoutSlip(f), 540);
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].text, Sj("○"));
    EXPECT_EQ(marks[0].x, 1575);
    EXPECT_EQ(marks[0].size, 16);
}

TEST(SlipLayout, EachPaymentKindAloneHasItsOwnMarkPosition) {
    const std::vector<std::pair<bool SlipFields::*, int>> kinds = {
        {&SlipFields::p1, 700}, {&SlipFields::p2, 820}, {&SlipFields::p3, 940}};
    for (const auto& [kind, x] : kinds) {
        SlipFields f = FullSlip();
        f.p1 = f.p2 = f.p3 = false;
        f.*kind = true;
        auto marks = Row(LayoutSlip(f), PlaceLayoutUnit(22500, 240, 0));
        ASSERT_EQ(marks.size(), 1u) << x;
        EXPECT_EQ(marks[0].text, Sj("○"));
        EXPECT_EQ(marks[0].x, PlaceLayoutUnit(22500, x, 0));
    }
}

TEST(SlipLayout, TaxIsGroupedAndRightAlignedInTwelve) {
    EXPECT_EQ(FormatTaxField(2380000), "         238");
    EXPECT_EQ(FormatTaxField(476190000), "      47,619");
    EXPECT_EQ(FormatTaxField(-40000), "          -4");
    EXPECT_EQ(FormatTaxField(0), "           0");
    EXPECT_EQ(FormatTaxField(12345678901230000), "1,234,567,890,123");
}

TEST(SlipLayout, AddressAndNameSizeFollowsTheLengthInBytes) {
    SlipFields f = FullSlip();
    f.add1 = std::string(31, 'a');
    f.custo1 = std::string(32, 'a');
    auto draws = LayoutSlip(f);
    auto at = [&](int x, int y) {
        return *std::find_if(draws.begin(), draws.end(), [&](auto& d) {
            return d.x == PlaceLayoutUnit(22500, x, 0) && d.y == PlaceLayoutUnit(22500, y, 0);
        });
    };
    EXPECT_EQ(at(120, 100).size, 12);
    EXPECT_EQ(at(140, 250).size, 10);
    EXPECT_EQ(at(556, 150).size, 10); // goods lines are always 10 points
}

TEST(SlipLayout, GoodsLineOneIsDrawnAfterAddressLineTwo) {
    auto row = Row(LayoutSlip(FullSlip()), PlaceLayoutUnit(22500, 150, 0));
    ASSERT_EQ(row.size(), 2u);
    EXPECT_EQ(row[0].text, Sj("千代田ビル３階"));
    EXPECT_EQ(row[1].text, Sj("衣料品"));
}

TEST(SlipLayout, UncheckedDateAndSenderAreNotDrawn) {
    SlipFields f = FullSlip();
    auto full = LayoutSlip(f);
    EXPECT_EQ(Texts(Row(full, PlaceLayoutUnit(22500, 486, 0))), "[2026][12][07]");
    f.dateChecked = false;
    f.myChecked = false;
    auto draws = LayoutSlip(f);
    EXPECT_EQ(full.size() - draws.size(), 9u);
    for (int y : {340, 382, 426, 484, 526})
        EXPECT_TRUE(Row(draws, PlaceLayoutUnit(22500, y, 0)).empty()) << y;
}

TEST(SlipLayout, SenderPostcodeIsPrintedInTwoParts) {
    auto row = Row(LayoutSlip(FullSlip()), PlaceLayoutUnit(22500, 340, 0));
    EXPECT_EQ(Texts(row), "[530][0001]");
}
