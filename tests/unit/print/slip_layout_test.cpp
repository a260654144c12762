#include "platform/RuntimeErrors.h"
#include "print/SlipLayout.h"
#include "slip/SampleSlip.h"
#include "unit/support/Sjis.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

// The sample slip at 360 dpi without margins.
struct Input {
    LayoutCaptions captions{"360", "360", "", ""};
    slip::Record slip = slip::SampleSlip();
};

Input FullSlip() {
    return {};
}

std::vector<SlipDraw> Layout(const Input& in) {
    return LayoutSlip(in.captions, in.slip);
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
    auto draws = Layout(FullSlip());
    std::size_t nonEmpty = std::count_if(draws.begin(), draws.end(), [](auto& d) { return !d.text.empty(); });
    EXPECT_EQ(nonEmpty, 48u);
    ASSERT_FALSE(draws.empty());
    EXPECT_EQ(draws[0].x, 419);
    EXPECT_EQ(draws[0].y, 68);
    EXPECT_EQ(draws[0].font, "Lucida Sans Unicode");
    EXPECT_EQ(draws[0].size, 12);
}

TEST(SlipLayout, MarginsShiftEverythingAndEmptyEqualsZero) {
    Input f = FullSlip();
    auto base = Layout(f);
    f.captions.prnTop = "0";
    f.captions.prnLeft = "0";
    auto zero = Layout(f);
    f.captions.prnTop = "-5";
    f.captions.prnLeft = "12";
    auto moved = Layout(f);
    ASSERT_EQ(base.size(), moved.size());
    for (std::size_t i = 0; i < base.size(); ++i) {
        EXPECT_EQ(zero[i].x, base[i].x);
        EXPECT_EQ(zero[i].y, base[i].y);
        EXPECT_EQ(moved[i].x, base[i].x + 12);
        EXPECT_EQ(moved[i].y, base[i].y - 5);
    }
}

TEST(SlipLayout, NonIntegerCaptionsRaiseBeforeAnythingIsDrawn) {
    for (auto setBad :
         {+[](Input& f) { f.captions.dpix = ""; }, +[](Input& f) { f.captions.dpiy = "360.0"; },
          +[](Input& f) { f.captions.prnTop = "1.5"; }, +[](Input& f) { f.captions.prnLeft = "x"; }}) {
        Input f = FullSlip();
        setBad(f);
        EXPECT_THROW(Layout(f), EConvertError);
    }
    Input f = FullSlip();
    f.captions.prnLeft = "12.0";
    try {
        Layout(f);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'12.0' is not a valid integer value");
    }
}

TEST(SlipLayout, PostcodeBoxesTakeSevenDigitsInAnySpellingAndSkipTheFourthByteOfOtherText) {
    Input f = FullSlip();
    f.slip.Edit_Zip = "1234567";
    EXPECT_EQ(Texts(Row(Layout(f), 68)), "[1][2][3][4][5][6][7]");
    f.slip.Edit_Zip = "12a4567";
    EXPECT_EQ(Texts(Row(Layout(f), 68)), "[1][2][a][5][6][7][]");
}

TEST(SlipLayout, TelephoneBoxesTakeThirteenBytes) {
    Input f = FullSlip();
    f.slip.Edit_tel = "03-1234-5678";
    EXPECT_EQ(Texts(Row(Layout(f), 648)), "[0][3][-][1][2][3][4][-][5][6][7][8][]");
    f.slip.Edit_tel = "090-1234-56789";
    EXPECT_EQ(Texts(Row(Layout(f), 648)), "[0][9][0][-][1][2][3][4][-][5][6][7][8]");
}

TEST(SlipLayout, PiecesAreRightAlignedInThreeBoxes) {
    EXPECT_EQ(RightAlign3("1"), "  1");
    EXPECT_EQ(RightAlign3(""), "   ");
    EXPECT_EQ(RightAlign3(" 120 "), "120");
    EXPECT_EQ(RightAlign3("1234"), "234");
    Input f = FullSlip();
    f.slip.KyNumEdit_KOSUU = "1";
    auto row = Row(Layout(f), 146); // 65 * 2.25 = 146.25
    EXPECT_EQ(Texts(row), "[ ][ ][1]");
    EXPECT_EQ(row[2].x, 1413);
}

TEST(SlipLayout, AmountStandsRightAlignedBehindTheYenByte) {
    Input f = FullSlip();
    auto amount = [&] {
        auto draws = Layout(f);
        std::vector<SlipDraw> boxes;
        std::copy_if(draws.begin(), draws.end(), std::back_inserter(boxes),
                     [](auto& d) { return d.size == 13 && d.font == "Microsoft Sans Serif"; });
        return Texts(boxes);
    };
    f.slip.KyNumEdit_PriceSub = "5000";
    EXPECT_EQ(amount(), "[ ][ ][\x5C][5][0][0][0]");
    f.slip.KyNumEdit_PriceSub = "123456";
    EXPECT_EQ(amount(), "[\x5C][1][2][3][4][5][6]");
    f.slip.KyNumEdit_PriceSub = "1234567";
    EXPECT_EQ(amount(), "[1][2][3][4][5][6][7]");
    f.slip.KyNumEdit_PriceSub = "-300";
    EXPECT_EQ(amount(), "[ ][ ][\x5C][-][3][0][0]");
}

TEST(SlipLayout, ZeroAmountPrintsNoAmountTaxOrMark) {
    Input f = FullSlip();
    f.slip.KyNumEdit_PriceSub = "0";
    f.slip.CheckBox_p1 = true;
    auto draws = Layout(f);
    EXPECT_TRUE(
        std::none_of(draws.begin(), draws.end(), [](auto& d) { return d.font == "Microsoft Sans Serif"; }));
    f.slip.KyNumEdit_PriceSub = "abc";
    draws = Layout(f);
    EXPECT_TRUE(
        std::none_of(draws.begin(), draws.end(), [](auto& d) { return d.font == "Microsoft Sans Serif"; }));
}

TEST(SlipLayout, OnlyTheFirstCheckedPaymentKindGetsTheMark) {
    Input f = FullSlip();
    f.slip.CheckBox_p1 = true;
    f.slip.CheckBox_p2 = false;
    f.slip.CheckBox_p3 = true;
    auto marks = Row(Layout(f), 540);
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].text, Cp932FromUtf8("○"));
    EXPECT_EQ(marks[0].x, 1575);
    EXPECT_EQ(marks[0].size, 16);
}

TEST(SlipLayout, EachPaymentKindAloneHasItsOwnMarkPosition) {
    const std::vector<std::pair<bool slip::Record::*, int>> kinds = {{&slip::Record::CheckBox_p1, 700},
                                                                     {&slip::Record::CheckBox_p2, 820},
                                                                     {&slip::Record::CheckBox_p3, 940}};
    for (const auto& [kind, x] : kinds) {
        Input f = FullSlip();
        f.slip.CheckBox_p1 = f.slip.CheckBox_p2 = f.slip.CheckBox_p3 = false;
        f.slip.*kind = true;
        auto marks = Row(Layout(f), PlaceLayoutUnit(22500, 240, 0));
        ASSERT_EQ(marks.size(), 1u) << x;
        EXPECT_EQ(marks[0].text, Cp932FromUtf8("○"));
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
    Input f = FullSlip();
    f.slip.Edit_Add1 = std::string(31, 'a');
    f.slip.Edit_Custo1 = std::string(32, 'a');
    auto draws = Layout(f);
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
    auto row = Row(Layout(FullSlip()), PlaceLayoutUnit(22500, 150, 0));
    ASSERT_EQ(row.size(), 2u);
    EXPECT_EQ(row[0].text, FullSlip().slip.Edit_Add2);
    EXPECT_EQ(row[1].text, Cp932FromUtf8("衣料品"));
}

TEST(SlipLayout, UncheckedDateAndSenderAreNotDrawn) {
    Input f = FullSlip();
    auto full = Layout(f);
    EXPECT_EQ(Texts(Row(full, PlaceLayoutUnit(22500, 486, 0))), "[2026][12][07]");
    f.slip.CheckBox_Date_1 = false;
    f.slip.CheckBox_My = false;
    auto draws = Layout(f);
    EXPECT_EQ(full.size() - draws.size(), 9u);
    for (int y : {340, 382, 426, 484, 526})
        EXPECT_TRUE(Row(draws, PlaceLayoutUnit(22500, y, 0)).empty()) << y;
}

TEST(SlipLayout, SenderPostcodeIsPrintedInTwoParts) {
    auto row = Row(Layout(FullSlip()), PlaceLayoutUnit(22500, 340, 0));
    EXPECT_EQ(Texts(row), "[530][0001]");
}
