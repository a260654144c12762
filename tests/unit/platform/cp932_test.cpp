#include "platform/Cp932.h"
#include "platform/Cp932Codec.h"
#include "unit/support/Sjis.h"

#include <gtest/gtest.h>

using namespace cp932;

TEST(Cp932Characters, LeadBytesOpenDoubleByteCharacters) {
    EXPECT_TRUE(IsLeadByte(0x81));
    EXPECT_TRUE(IsLeadByte(0x9F));
    EXPECT_TRUE(IsLeadByte(0xE0));
    EXPECT_TRUE(IsLeadByte(0xFC));
    EXPECT_FALSE(IsLeadByte(0x80));
    EXPECT_FALSE(IsLeadByte(0xA0));
    EXPECT_FALSE(IsLeadByte(0xB1)); // half-width katakana stands alone
    EXPECT_FALSE(IsLeadByte(0xFD));
}

TEST(Cp932Characters, StepsOverTrailBytesThatLookLikeAscii) {
    std::string s = Cp932FromUtf8("表ソ") + "a"; // 95 5C 83 5C 61
    ASSERT_EQ(s.size(), 5u);
    EXPECT_EQ(NextChar(s, 0), 2u);
    EXPECT_EQ(NextChar(s, 2), 4u);
    EXPECT_EQ(CharCount(s), 3u);
    EXPECT_FALSE(IsCharBoundary(s, 1));
    EXPECT_TRUE(IsCharBoundary(s, 4));
    EXPECT_EQ(FindChar(s, '\\'), std::string::npos);
}

TEST(Cp932Characters, LoneLeadByteAtEndIsOneCharacter) {
    std::string s = "a\x82";
    EXPECT_EQ(CharCount(s), 2u);
    EXPECT_EQ(NextChar(s, 1), 2u);
}

TEST(Cp932Trim, RemovesControlBytesAndBlanksButKeepsIdeographicSpace) {
    EXPECT_EQ(PlainTrim(" \t\r\nabc \x01"), "abc");
    std::string wide = Cp932FromUtf8("　東京　");
    EXPECT_EQ(PlainTrim(" " + wide + " "), wide);
    EXPECT_EQ(PlainTrim("   "), "");
}

TEST(Cp932Cut, NeverSplitsADoubleByteCharacter) {
    std::string s = "a" + Cp932FromUtf8("東京");
    EXPECT_EQ(CutBytes(s, 2), "a");
    EXPECT_EQ(CutBytes(s, 3), "a" + Cp932FromUtf8("東"));
    EXPECT_EQ(CutBytes(s, 4), "a" + Cp932FromUtf8("東"));
    EXPECT_EQ(CutBytes(s, 99), s);
    EXPECT_EQ(CutBytes(s, 0), "");
}

TEST(Cp932Compare, FoldsAsciiLettersOnly) {
    EXPECT_TRUE(EqualsIgnoreAsciiCase("OP023MyZip", "op023myzip"));
    EXPECT_FALSE(
        EqualsIgnoreAsciiCase(Cp932FromUtf8("Ａ"), Cp932FromUtf8("ａ"))); // full-width letters are not folded
    // 0x83 0x61 and 0x83 0x41 are different katakana whose trail bytes are "a" and "A".
    EXPECT_FALSE(EqualsIgnoreAsciiCase("\x83\x61", "\x83\x41"));
}

TEST(Cp932Codec, RoundTripsJapaneseAndExtensions) {
    for (const char* text : {"お届け先　東京都", "髙橋①", "ﾃﾞﾋﾞｯﾄｶｰﾄﾞ", "～∥－￠￡￢"}) {
        std::string bytes = FromUtf8(text);
        EXPECT_EQ(ToUtf8(bytes), text) << text;
    }
    EXPECT_EQ(FromUtf8("\\~"), "\x5C\x7E");
}

TEST(Cp932Codec, FoldsInputMethodLookAlikes) {
    EXPECT_EQ(FromUtf8("\u301C"), FromUtf8("\uFF5E"));
    EXPECT_EQ(FromUtf8("\u2016"), FromUtf8("\u2225"));
    EXPECT_EQ(FromUtf8("\u2212"), FromUtf8("\uFF0D"));
    EXPECT_EQ(FromUtf8("\u00A2\u00A3\u00AC"), FromUtf8("\uFFE0\uFFE1\uFFE2"));
    EXPECT_EQ(FromUtf8("\u2014"), FromUtf8("\u2015"));
    EXPECT_EQ(FromUtf8("\u2212"), "\x81\x7C");
}

TEST(Cp932Codec, FormatCharactersAreDropped) {
    // Zero-width space and joiners, direction marks and embeddings, word joiner, byte-order mark,
    // soft hyphen, Arabic number sign, a tag character: each category Cf, each invisible.
    for (const char* cf : {"\u200B", "\u200C", "\u200D", "\u200E", "\u200F", "\u202A", "\u202E", "\u2060",
                           "\u2066", "\u206F", "\uFEFF", "\u00AD", "\u0600", "\U000E0041"})
        EXPECT_EQ(FromUtf8(std::string("TEL") + cf + "03-1234"), "TEL03-1234") << cf;
    // Neighbours that are not format characters stay what they were.
    EXPECT_EQ(FromUtf8("\u200A\u2010\u2065"), "?\x81\x5D?");
}

TEST(Cp932Codec, UnencodableAndMalformedInputBecomesQuestionMark) {
    EXPECT_EQ(FromUtf8("a😀b"), "a?b");
    EXPECT_EQ(FromUtf8("a\xFF"
                       "b"),
              "a?b");
    EXPECT_EQ(FromUtf8("\xE6\x9D"), "??"); // truncated sequence
    EXPECT_EQ(FromUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Cp932Codec, InvalidBytesDecodeToReplacementWithoutReadingPastTheEnd) {
    const std::string fffd = "\xEF\xBF\xBD";
    EXPECT_EQ(ToUtf8("a\x82"), "a" + fffd);     // lone lead byte at the end
    EXPECT_EQ(ToUtf8("\x82 x"), fffd + " x");   // lead byte before a byte that cannot trail
    EXPECT_EQ(ToUtf8("\x85\x40z"), fffd + "z"); // a pair with no character
    EXPECT_EQ(ToUtf8("\xFD"), fffd);
    EXPECT_EQ(ToUtf8(std::string("\0", 1)), std::string("\0", 1));
}

TEST(Cp932Codec, LongTextConvertsWhole) {
    std::string utf8;
    for (int i = 0; i < 20000; ++i)
        utf8 += "住所abc";
    std::string bytes = FromUtf8(utf8);
    EXPECT_EQ(bytes.size(), 20000u * 7);
    EXPECT_EQ(ToUtf8(bytes), utf8);
}
