// The queue's message catalogue as the scheduler serves it.
#include "printer/StringsFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::Pair;

namespace {

TEST(StringsFile, ReadsPairsBetweenCommentsAndBlankLines) {
    const char* text = "/* generated */\n\"media-source.manual\" = \"Manual Feed\";\n\n"
                       "// a note\r\n\"media-source.tractor\"=\"Tractor Feed\" ;\n";
    EXPECT_THAT(ParseStringsFile(text), ElementsAre(Pair("media-source.manual", "Manual Feed"),
                                                    Pair("media-source.tractor", "Tractor Feed")));
}

TEST(StringsFile, ResolvesEscapes) {
    EXPECT_THAT(ParseStringsFile(R"("media.x" = "10\" \\ 4\nin";)"),
                ElementsAre(Pair("media.x", "10\" \\ 4\nin")));
}

TEST(StringsFile, KeepsWhatCameBeforeADamagedLine) {
    for (const char* tail :
         {"\"b\" = \"unterminated;", "\"b\" \"no equals\";", "\"b\" = \"no semicolon\"", "garbage"}) {
        EXPECT_THAT(ParseStringsFile(std::string("\"a\" = \"A\";\n") + tail), ElementsAre(Pair("a", "A")))
            << tail;
    }
    EXPECT_TRUE(ParseStringsFile("").empty());
}

} // namespace
