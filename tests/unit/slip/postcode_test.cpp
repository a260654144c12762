// Every spelling of a seven-digit postcode reaches the slip's boxes as "NNN-NNNN"; anything else is
// left for the user to correct.
#include "platform/Cp932Codec.h"
#include "slip/Postcode.h"

#include <gtest/gtest.h>

TEST(SlipPostcode, EverySpellingOfSevenDigitsBecomesThreeHyphenFour) {
    const std::pair<const char*, const char*> cases[] = {
        {"5300001", "530-0001"},
        {"530-0001", "530-0001"},
        {"５３０００１", "５３０００１"},
        {"５３００００１", "530-0001"},
        {"５３０－０００１", "530-0001"},
        {"〒530-0001", "530-0001"},
        {"〒 5300001 ", "530-0001"},
        {"　530 0001", "530-0001"},
        {"530ー0001", "530-0001"},
        {"530‐0001", "530-0001"},
        {"53-00001", "53-00001"},
        {"530--0001", "530--0001"},
        {"530-00012", "530-00012"},
        {"5300001-", "5300001-"},
        {"530-000", "530-000"},
        {"ABC-DEFG", "ABC-DEFG"},
        {"", ""},
        {"〒", "〒"},
    };
    for (const auto& [typed, boxed] : cases)
        EXPECT_EQ(cp932::ToUtf8(slip::SlipPostcode(cp932::FromUtf8(typed))), boxed) << typed;
}
