#include "print/PrinterRegistration.h"
#include "tracking/StackCounter.h"
#include "unit/support/Sjis.h"
#include "unit/support/TempDir.h"

#include <gtest/gtest.h>

using namespace tracking;

namespace {

const std::string kSlipType = Cp932FromUtf8("連続(４インチ)");

TEST(TrackingCounter, ReadsWhatTheSlipTypesSectionHolds) {
    const struct {
        const char* content;
        StoredSlipCounter::State state;
        const char* number;
    } cases[] = {
        {"[連続(４インチ)]\r\nPrnNoIndex=1\r\n", StoredSlipCounter::NotSet, ""},
        {"[連続(４インチ)]\r\nNextSlipNo=\r\n", StoredSlipCounter::NotSet, ""},
        {"[連続(４インチ)]\r\nnextslipno=512547514334\r\n", StoredSlipCounter::Set, "512547514334"},
        {"[連続(４インチ)]\r\nNextSlipNo=5125-4751-4334\r\n", StoredSlipCounter::Set, "512547514334"},
        {"[手差し]\r\nNextSlipNo=512547514334\r\n", StoredSlipCounter::NotSet, ""},
        {"[連続(４インチ)]\r\nNextSlipNo=512547514335\r\n", StoredSlipCounter::Broken, "512547514335"},
        {"[連続(４インチ)]\r\nNextSlipNo=13112383852\r\n", StoredSlipCounter::Broken, "13112383852"},
    };
    for (const auto& c : cases) {
        const StoredSlipCounter counter =
            ReadNextSlipNo(ProfileFile::FromBytes("tavo_a500.ini", Cp932FromUtf8(c.content)), kSlipType);
        EXPECT_EQ(counter.state, c.state) << c.content;
        EXPECT_EQ(counter.number, c.number) << c.content;
    }
}

TEST(TrackingCounter, IsWrittenBesideTheRegistrationAndSurvivesIt) {
    TempDir dir;
    const std::string path = dir.File("tavo_a500.ini");
    WritePrinterRegistration(path, kSlipType, {"dot", "1", "12", "-5"});
    ProfileFile file(path);
    WriteNextSlipNo(file, kSlipType, Cp932FromUtf8("５１２５－４７５１－４３３４"));
    file.Save();
    WritePrinterRegistration(path, kSlipType, {"dot", "0", "3", "4"});
    EXPECT_EQ(TempDir::Read(path),
              Cp932FromUtf8("[連続(４インチ)]\r\nPrnName=dot\r\nPrnNoIndex=0\r\ntavPrn_Top=3\r\n"
                            "tavPrn_Left=4\r\nNextSlipNo=512547514334\r\n"));

    WriteNextSlipNo(file, kSlipType, " ");
    EXPECT_EQ(ReadNextSlipNo(file, kSlipType).state, StoredSlipCounter::NotSet);
    for (const char* wrong : {"512547514335", "13112383852"}) {
        EXPECT_THROW(WriteNextSlipNo(file, kSlipType, wrong), ESlipCounter) << wrong;
        EXPECT_EQ(ReadNextSlipNo(file, kSlipType).state, StoredSlipCounter::NotSet) << wrong;
    }
}

TEST(TrackingCounter, AdvancesAlongTheStackAndStopsAtItsEnd) {
    EXPECT_EQ(NextSlipNoAfter("512547514334"), "512547514345");
    EXPECT_EQ(NextSlipNoAfter("999999999994"), "");
    try {
        NextSlipNoAfter("512547514335");
        ADD_FAILURE() << "a wrong check digit advanced";
    } catch (const ESlipCounter& e) {
        EXPECT_EQ(e.Message(), Cp932FromUtf8("送り状番号が正しくありません（確認数字）"));
    }
}

TEST(TrackingCounter, ResynchronisingVoidsTheSkippedSlips) {
    EXPECT_EQ(SkippedSlipNumbers("512547514334", "5125-4751-4334"), std::vector<std::string>{});
    EXPECT_EQ(SkippedSlipNumbers("512547514334", "512547514360"),
              (std::vector<std::string>{"512547514334", "512547514345", "512547514356"}));
    // One more than the most it voids, a slip before the counter, and numbers that are not a stack's.
    for (const auto& [counter, inPrinter] :
         std::vector<std::pair<std::string, std::string>>{{"000000000000", "000000001013"}, // 101 slips on
                                                          {"512547514345", "512547514334"},
                                                          {"512547514334", "512547514367"},
                                                          {"13112383852", "512547514334"}}) {
        EXPECT_THROW(SkippedSlipNumbers(counter, inPrinter), ESlipCounter) << counter << " " << inPrinter;
    }
    EXPECT_EQ(SkippedSlipNumbers("000000000000", "000000001002").size(), kMostSkippedSlips);
}

} // namespace
