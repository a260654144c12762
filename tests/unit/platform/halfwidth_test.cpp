// The table-driven half-width fold against independent expectations written as Unicode text.
#include "platform/Cp932.h"
#include "platform/Cp932Codec.h"
#include "platform/HalfWidth.h"

#include <gtest/gtest.h>

namespace {

std::string Cp932FromUtf8(std::string_view utf8) {
    return cp932::FromUtf8(utf8);
}
std::string Fold(std::string_view utf8) {
    return cp932::ToUtf8(cp932::ToHalfWidth(Cp932FromUtf8(utf8)));
}

// UTF-8 of one code point.
std::string Utf8(char32_t c) {
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

TEST(HalfWidthFold, FullWidthAsciiFormsBecomeAsciiExceptTheBackslash) {
    for (char32_t c = 0xFF01; c <= 0xFF5E; ++c) {
        const std::string in = Cp932FromUtf8(Utf8(c));
        ASSERT_EQ(in.size(), 2u) << "U+" << std::hex << static_cast<unsigned>(c);
        const std::string out = cp932::ToHalfWidth(in);
        if (c == 0xFF3C) // ＼ has no half-width partner in the locale's mapping
            EXPECT_EQ(out, in);
        else
            EXPECT_EQ(out, std::string(1, static_cast<char>(c - 0xFF01 + 0x21)))
                << "U+" << std::hex << static_cast<unsigned>(c);
    }
}

TEST(HalfWidthFold, KatakanaBecomeHalfWidthWithSeparateVoicingMarks) {
    EXPECT_EQ(Fold("ァアィイゥウェエォオカガキギクグケゲコゴサザシジスズセゼソゾタダチヂッツヅテデトド"),
              "ｧｱｨｲｩｳｪｴｫｵｶｶﾞｷｷﾞｸｸﾞｹｹﾞｺｺﾞｻｻﾞｼｼﾞｽｽﾞｾｾﾞｿｿﾞﾀﾀﾞﾁﾁﾞｯﾂﾂﾞﾃﾃﾞﾄﾄﾞ");
    EXPECT_EQ(Fold("ナニヌネノハバパヒビピフブプヘベペホボポマミムメモャヤュユョヨラリルレロワヲンヴ"),
              "ﾅﾆﾇﾈﾉﾊﾊﾞﾊﾟﾋﾋﾞﾋﾟﾌﾌﾞﾌﾟﾍﾍﾞﾍﾟﾎﾎﾞﾎﾟﾏﾐﾑﾒﾓｬﾔｭﾕｮﾖﾗﾘﾙﾚﾛﾜｦﾝｳﾞ");
}

TEST(HalfWidthFold, PunctuationSpaceAndLocaleSpecificSigns) {
    EXPECT_EQ(Fold("。「」、・゛゜ー　"), "｡｢｣､･ﾞﾟｰ ");
    EXPECT_EQ(Fold("～“”‘’"), "~\"\"''");
    EXPECT_EQ(cp932::ToHalfWidth(Cp932FromUtf8("￥")), "\x5C");
    // The IBM and NEC-selected codes of the broken bar and the quotes fold like the others.
    EXPECT_EQ(cp932::ToHalfWidth("\xEE\xFA\xEE\xFB\xEE\xFC\xFA\x55\xFA\x56\xFA\x57"), "|'\"|'\"");
}

TEST(HalfWidthFold, CharactersWithoutHalfWidthFormStay) {
    const std::string keep = Cp932FromUtf8("ひらがな漢字ヮヰヱヵヶヽヾ＼〒※①髙‐―");
    EXPECT_EQ(cp932::ToHalfWidth(keep), keep);
}

TEST(HalfWidthFold, ExactlyTheLocalesListChangesAndNothingElse) {
    int changed = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!cp932::IsLeadByte(static_cast<unsigned char>(lead))) continue;
        for (int trail = 0x00; trail <= 0xFF; ++trail) {
            const std::string in{static_cast<char>(lead), static_cast<char>(trail)};
            const std::string out = cp932::ToHalfWidth(in);
            if (out == in) continue;
            ++changed;
            // A changed character always ends as one or two single-byte characters.
            ASSERT_LE(out.size(), 2u);
            for (unsigned char b : out)
                EXPECT_FALSE(cp932::IsLeadByte(b)) << std::hex << lead << trail;
        }
    }
    EXPECT_EQ(changed, 192);
    for (int b = 0; b <= 0xFF; ++b) {
        const std::string single(1, static_cast<char>(b));
        EXPECT_EQ(cp932::ToHalfWidth(single), single);
    }
}

TEST(HalfWidthFold, BrokenBytesPassThroughUnchanged) {
    EXPECT_EQ(cp932::ToHalfWidth("\x82\x4F\x82"), "0\x82"); // lone lead byte at the end
    EXPECT_EQ(cp932::ToHalfWidth(std::string("\x82\x00\x82\x4F", 4)), std::string("\x82\x00"
                                                                                  "0",
                                                                                  3));
    EXPECT_EQ(cp932::ToHalfWidth(""), "");
}

TEST(HalfWidthFold, FoldingTwiceChangesNothingMore) {
    const std::string once =
        cp932::ToHalfWidth(Cp932FromUtf8("東京都港区１－２－３　アパート２０１　ガーデン￥"));
    EXPECT_EQ(cp932::ToHalfWidth(once), once);
}

} // namespace
