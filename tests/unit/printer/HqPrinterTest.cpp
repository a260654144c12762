// The printer object's own logic over a scripted platform: visible indices, checks and their order,
// paper and bin lookups, caching, documents and the change watch.
#include "printer/HqPrinter.h"
#include "FakePlatformPrinter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

template <typename E>
void ExpectThrowWith(const std::function<void()>& call, const std::string& message) {
    try {
        call();
        ADD_FAILURE() << "no exception, expected: " << message;
    } catch (const E& e) {
        EXPECT_EQ(e.Message(), message);
    } catch (const std::exception& e) {
        ADD_FAILURE() << "wrong exception: " << e.what() << ", expected: " << message;
    }
}

class HqPrinterTest : public ::testing::Test {
protected:
    FakePlatformPrinter* fake = nullptr;
    std::unique_ptr<THqPrinter> printer;

    // Builds the object after the test has scripted the platform with `setup`.
    void Make(const std::function<void(FakePlatformPrinter&)>& setup) {
        auto platform = std::make_unique<FakePlatformPrinter>();
        fake = platform.get();
        setup(*fake);
        printer = std::make_unique<THqPrinter>(std::move(platform));
    }

    static FakeDriver Driver(std::vector<NumberedName> papers, std::vector<NumberedName> bins,
                             std::uint32_t fields = DM_PAPERSIZE | DM_DEFAULTSOURCE, std::int16_t paper = 9,
                             std::int16_t bin = 8) {
        FakeDriver d;
        d.papers = std::move(papers);
        d.bins = std::move(bins);
        d.defaults.dmFields = fields;
        d.defaults.dmPaperSize = paper;
        d.defaults.dmDefaultSource = bin;
        return d;
    }
};

// --- No printer ---------------------------------------------------------------------------------

TEST_F(HqPrinterTest, EveryCheckedOperationRaisesNoPrinterWhenOnlyHiddenPrintersExist) {
    for (bool none : {true, false}) {
        Make([&](FakePlatformPrinter& f) {
            if (!none) f.Add("B", true);
        });
        const std::string msg = "THqPrinter.CheckNoPrinter: No Printer";
        TPoint pt;
        ExpectThrowWith<EHqPrinterNoPrinter>([&] { printer->CheckNoPrinter(); }, msg);
        ExpectThrowWith<EHqPrinterNoPrinter>([&] { printer->GetPrinterNames(); }, msg);
        ExpectThrowWith<EHqPrinterNoPrinter>([&] { printer->GetIndex(); }, msg);
        ExpectThrowWith<EHqPrinterNoPrinter>([&] { printer->SetIndex(0); }, msg);
        ExpectThrowWith<EHqPrinterNoPrinter>([&] { printer->GetPaperSizeNumber(); }, msg);
        ExpectThrowWith<EHqPrinterNoPrinter>([&] { printer->GetPaperSizeNames(); }, msg);
        ExpectThrowWith<EHqPrinterNoPrinter>([&] { printer->GetPaperSizeIndex(); }, msg);
        ExpectThrowWith<EHqPrinterNoPrinter>([&] { printer->GetBinNumber(); }, msg);
        ExpectThrowWith<EHqPrinterNoPrinter>([&] { printer->GetBinNames(); }, msg);
        ExpectThrowWith<EHqPrinterNoPrinter>([&] { printer->GetBinIndex(); }, msg);
        ExpectThrowWith<EHqPrinterNoPrinter>([&] { printer->GetSupportedFields(); }, msg);
        ExpectThrowWith<EHqPrinterNoPrinter>([&] { printer->GetResolution(pt); }, msg);
        ExpectThrowWith<EHqPrinterNoPrinter>([&] { printer->GetScale(); }, msg);
        // Refresh checks through the capability reload, which only runs for a printer the platform has.
        if (!none) ExpectThrowWith<EHqPrinterNoPrinter>([&] { printer->Refresh(); }, msg);
    }
}

TEST_F(HqPrinterTest, PortsCanvasAndDocumentsDoNotNeedAPrinter) {
    Make([](FakePlatformPrinter& f) { f.ports = {"file:/dev/null"}; });
    EXPECT_THAT(printer->GetPortNames(), ElementsAre("file:/dev/null"));
    printer->BeginDoc("t");
    printer->GetCanvas().TextOut(1, 2, "x");
    printer->EndDoc();
    printer->Abort();
    printer->PrintRaw("r", "\x1b@");
    EXPECT_THAT(fake->events, ElementsAre("title t", "begin", "end", "abort", "title r", "raw \x1b@"));
    EXPECT_EQ(fake->canvas.texts.size(), 1u);
}

TEST_F(HqPrinterTest, AfterNoPrinterTheNextSuccessfulCallReloadsTheLists) {
    Make([&](FakePlatformPrinter& f) { f.Add("A", false, Driver({{9, "A4"}}, {{8, "T"}})); });
    EXPECT_THAT(printer->GetPaperSizeNames(), ElementsAre("A4"));
    // The printer disappears, the watch sees it, a check fails; then it comes back with other papers.
    auto saved = fake->printers;
    fake->printers.clear();
    printer->SettingsChanged();
    EXPECT_THROW(printer->GetPaperSizeNames(), EHqPrinterNoPrinter);
    fake->printers = saved;
    fake->drivers["A"].papers = {{13, "B5"}};
    printer->SettingsChanged();
    EXPECT_THAT(printer->GetPaperSizeNames(), ElementsAre("B5"));
}

// --- Visible indices ----------------------------------------------------------------------------

class ThreePrinters : public HqPrinterTest {
protected:
    void SetUp() override {
        Make([&](FakePlatformPrinter& f) {
            f.Add("A", false, Driver({{9, "A4"}}, {{8, "Tractor"}}, DM_PAPERSIZE | DM_DEFAULTSOURCE, 9, 8));
            f.Add("B", true, Driver({{9, "A4"}}, {}));
            f.Add("C", false,
                  Driver({{13, "B5"}, {9, "A4"}}, {{4, "Manual"}, {8, "Tractor"}},
                         DM_PAPERSIZE | DM_DEFAULTSOURCE, 13, 4));
            f.defaultIndex = 0;
        });
    }
};

TEST_F(ThreePrinters, ListsOnlyVisiblePrintersInOrder) {
    EXPECT_THAT(printer->GetPrinterNames(), ElementsAre("A", "C"));
}

TEST_F(ThreePrinters, FindPrinterByNameGivesItsVisibleIndexOrWhyNot) {
    const struct {
        const char* name;
        PrinterPlace::Kind kind;
        int index;
    } cases[] = {{"A", PrinterPlace::Visible, 0},  {"C", PrinterPlace::Visible, 1},
                 {"c", PrinterPlace::Visible, 1},  {"B", PrinterPlace::Hidden, -1},
                 {"D", PrinterPlace::Missing, -1}, {"", PrinterPlace::Missing, -1}};
    for (const auto& c : cases) {
        const PrinterPlace place = printer->FindPrinter(c.name);
        EXPECT_EQ(place.kind, c.kind) << c.name;
        EXPECT_EQ(place.index, c.index) << c.name;
    }
}

TEST_F(ThreePrinters, GetIndexCountsVisiblePrintersOnly) {
    fake->current = 2;
    EXPECT_EQ(printer->GetIndex(), 1);
    fake->current = 0;
    EXPECT_EQ(printer->GetIndex(), 0);
}

TEST_F(ThreePrinters, GetIndexReportsTheDefaultWhileNothingIsChosen) {
    fake->defaultIndex = 2;
    EXPECT_EQ(printer->GetIndex(), 1);
}

TEST_F(ThreePrinters, HiddenCurrentPrinterIsIllegal) {
    fake->current = 1;
    ExpectThrowWith<EHqPrinterIllegalIndex>([&] { printer->GetIndex(); },
                                            "THqPrinter.GetIndex: Printers.PrinterIndex is Illegal");
    ExpectThrowWith<EHqPrinterIllegalIndex>([&] { printer->SetIndex(0); },
                                            "THqPrinter.GetIndex: Printers.PrinterIndex is Illegal");
}

TEST_F(ThreePrinters, SetIndexSkipsHiddenPrinters) {
    printer->SetIndex(1);
    EXPECT_EQ(fake->current, 2);
    EXPECT_EQ(printer->GetIndex(), 1);
    EXPECT_EQ(printer->GetPaperSizeNumber(), 13);
    EXPECT_THAT(printer->GetPaperSizeNames(), ElementsAre("B5", "A4"));
}

TEST_F(ThreePrinters, SetIndexOutOfRangeRaisesAndChangesNothing) {
    fake->current = 2;
    for (int bad : {2, -2, 100}) {
        ExpectThrowWith<EHQPrinterRangeError>([&] { printer->SetIndex(bad); },
                                              "THqPrinter.SetIndex: Index is out of Range");
        EXPECT_EQ(fake->current, 2);
    }
}

TEST_F(ThreePrinters, SetIndexMinusOneSelectsTheDefault) {
    fake->current = 2;
    fake->defaultIndex = 0;
    printer->SetIndex(-1);
    EXPECT_EQ(fake->current, -1);
    EXPECT_EQ(printer->GetIndex(), 0);
    EXPECT_EQ(printer->GetPaperSizeNumber(), 9);
}

TEST_F(ThreePrinters, SetIndexResetsTheSettingsToTheDriversDefaults) {
    printer->SetIndex(1);
    fake->SetPaperAndBin(9, 8);
    printer->Refresh();
    EXPECT_EQ(printer->GetPaperSizeIndex(), 1);
    printer->SetIndex(0);
    printer->SetIndex(1);
    EXPECT_EQ(printer->GetPaperSizeNumber(), 13);
    EXPECT_EQ(printer->GetBinNumber(), 4);
}

TEST_F(ThreePrinters, SetIndexToTheCurrentIndexChangesNothing) {
    printer->SetIndex(1);
    fake->SetPaperAndBin(9, 8);
    printer->Refresh();
    int resets = fake->resets;
    int modeCalls = fake->deviceModeCalls;
    int capabilityCalls = fake->capabilityCalls;
    printer->SetIndex(1);
    EXPECT_EQ(fake->resets, resets);
    EXPECT_EQ(printer->GetPaperSizeNumber(), 9);
    EXPECT_EQ(fake->deviceModeCalls, modeCalls);
    EXPECT_EQ(fake->capabilityCalls, capabilityCalls);
}

// --- Papers and bins ----------------------------------------------------------------------------

TEST_F(HqPrinterTest, PaperIndexTakesTheFirstMatchAndBinIndexTheLast) {
    Make([&](FakePlatformPrinter& f) {
        f.Add("A", false,
              Driver({{9, "A4"}, {9, "A4 again"}}, {{15, "F1"}, {15, "F2"}}, DM_PAPERSIZE | DM_DEFAULTSOURCE,
                     9, 15));
    });
    EXPECT_EQ(printer->GetPaperSizeIndex(), 0);
    EXPECT_EQ(printer->GetBinIndex(), 1);
}

TEST_F(HqPrinterTest, UnknownCurrentPaperOrBinRaisesLookupErrors) {
    Make([&](FakePlatformPrinter& f) {
        f.Add("A", false, Driver({{9, "A4"}}, {{8, "T"}}, DM_PAPERSIZE | DM_DEFAULTSOURCE, 13, 4));
    });
    ExpectThrowWith<EHQPrinterPaperSizeError>([&] { printer->GetPaperSizeIndex(); },
                                              "THqPrinter.GetPaperSizeIndex: Cannot Get Paper Index");
    ExpectThrowWith<EHqPrinterBinError>([&] { printer->GetBinIndex(); },
                                        "THqPrinter.GetBinIndex: Cannot Get Bin Index");
}

TEST_F(HqPrinterTest, EmptyListsRaiseNoInfo) {
    Make([&](FakePlatformPrinter& f) { f.Add("A", false, Driver({}, {})); });
    ExpectThrowWith<EHqPrinterNoInfo>([&] { printer->GetPaperSizeNames(); },
                                      "THqPrinter.GetPaperSizeNames: No Papersize Info Available");
    ExpectThrowWith<EHqPrinterNoInfo>([&] { printer->GetPaperSizeIndex(); },
                                      "THqPrinter.GetPaperSizeIndex: No Papersize Info Available");
    ExpectThrowWith<EHqPrinterNoInfo>([&] { printer->GetBinNames(); },
                                      "THqPrinter.GetBinNames: No Bin Info Available");
    ExpectThrowWith<EHqPrinterNoInfo>([&] { printer->GetBinIndex(); },
                                      "THqPrinter.GetBinIndex: No Bin Info Available");
    EXPECT_EQ(printer->GetPaperSizeNumber(), 9);
}

TEST_F(HqPrinterTest, MissingFieldRaisesNotSupportedBeforeNoInfo) {
    Make([&](FakePlatformPrinter& f) { f.Add("A", false, Driver({}, {}, DM_ORIENTATION)); });
    ExpectThrowWith<EHqPrinterNotSupported>([&] { printer->GetPaperSizeNumber(); },
                                            "THqPrinter.GetPaperSizeNumber: PaperSize is not Supported");
    ExpectThrowWith<EHqPrinterNotSupported>([&] { printer->GetPaperSizeNames(); },
                                            "THqPrinter.GetPaperSizeNames: PaperSize is not Supported");
    ExpectThrowWith<EHqPrinterNotSupported>([&] { printer->GetPaperSizeIndex(); },
                                            "THqPrinter.GetPaperSizeIndex: PaperSize is not Supported");
    ExpectThrowWith<EHqPrinterNotSupported>([&] { printer->GetBinNumber(); },
                                            "THqPrinter.GetBinNumber: Bin is not Supported");
    ExpectThrowWith<EHqPrinterNotSupported>([&] { printer->GetBinNames(); },
                                            "THqPrinter.GetBinNames: Bin is not Supported");
    ExpectThrowWith<EHqPrinterNotSupported>([&] { printer->GetBinIndex(); },
                                            "THqPrinter.GetBinIndex: Bin is not Supported");
}

TEST_F(HqPrinterTest, NamesAreCutAtTheirFieldSizeOrFirstZeroByte) {
    std::string longPaper(70, 'p');
    std::string longBin(30, 'b');
    // 23 ASCII bytes then a double-byte character: the cut at 24 must not keep half of it.
    std::string splitBin = std::string(23, 'x') + "\x8E\xE8";
    Make([&](FakePlatformPrinter& f) {
        f.Add("A", false,
              Driver({{9, longPaper}, {13, std::string("B5\0junk", 7)}},
                     {{8, longBin}, {4, splitBin}, {1, "\x8E\xE8\x8D\xB7"}}));
    });
    EXPECT_THAT(printer->GetPaperSizeNames(), ElementsAre(std::string(64, 'p'), "B5"));
    EXPECT_THAT(printer->GetBinNames(),
                ElementsAre(std::string(24, 'b'), std::string(23, 'x'), "\x8E\xE8\x8D\xB7"));
}

TEST_F(HqPrinterTest, ListsLoadOncePerPrinterUntilRefresh) {
    Make([&](FakePlatformPrinter& f) { f.Add("A", false, Driver({{9, "A4"}}, {{8, "T"}})); });
    printer->GetPaperSizeNames();
    printer->GetBinNames();
    printer->GetPaperSizeIndex();
    printer->GetBinIndex();
    EXPECT_EQ(fake->capabilityCalls, 2);
    EXPECT_EQ(fake->deviceModeCalls, 1);
    fake->drivers["A"].papers = {{13, "B5"}};
    EXPECT_THAT(printer->GetPaperSizeNames(), ElementsAre("A4"));
    printer->Refresh();
    EXPECT_THAT(printer->GetPaperSizeNames(), ElementsAre("B5"));
    EXPECT_EQ(fake->deviceModeCalls, 2);
}

TEST_F(HqPrinterTest, AnotherSlipFormReadsListsAndSettingsAfreshTheSameOneNothing) {
    Make([&](FakePlatformPrinter& f) { f.Add("A", false, Driver({{9, "A4"}}, {{8, "T"}})); });
    EXPECT_THAT(printer->GetPaperSizeNames(), ElementsAre("A4"));
    fake->drivers["A"].papers = {{9, "A4"}, {256, "10 x 4 in"}};
    fake->drivers["A"].defaults.dmPaperSize = 256;
    printer->SetSlipForm({720, 288});
    EXPECT_THAT(printer->GetPaperSizeNames(), ElementsAre("A4", "10 x 4 in"));
    EXPECT_EQ(printer->GetPaperSizeIndex(), 1);
    const int calls = fake->capabilityCalls;
    printer->SetSlipForm({720, 288});
    printer->GetPaperSizeNames();
    EXPECT_EQ(fake->capabilityCalls, calls);
    ASSERT_EQ(fake->forms.size(), 1u);
    EXPECT_EQ(fake->forms[0], (SlipForm{720, 288}));
}

TEST_F(HqPrinterTest, SettingsChangedOutsideAreSeenOnlyAfterRefresh) {
    Make([&](FakePlatformPrinter& f) { f.Add("A", false, Driver({{9, "A4"}, {13, "B5"}}, {{8, "T"}})); });
    EXPECT_EQ(printer->GetPaperSizeIndex(), 0);
    fake->SetPaperAndBin(13, 8);
    EXPECT_EQ(printer->GetPaperSizeIndex(), 0);
    printer->Refresh();
    EXPECT_EQ(printer->GetPaperSizeIndex(), 1);
}

// --- Fields, scale, resolution ------------------------------------------------------------------

TEST_F(HqPrinterTest, SupportedFieldsMapTheSettingFlagsToConsecutiveBits) {
    Make([&](FakePlatformPrinter& f) {
        f.Add("A", false,
              Driver({}, {},
                     DM_ORIENTATION | DM_COPIES | DM_DEFAULTSOURCE | DM_PANNINGHEIGHT | 0x20 | 0x40000));
    });
    EXPECT_EQ(printer->GetSupportedFields(), (1u << 0) | (1u << 5) | (1u << 6) | (1u << 16));
}

TEST_F(HqPrinterTest, ScaleIs100WithoutTheScaleField) {
    FakeDriver d = Driver({}, {}, DM_PAPERSIZE);
    d.defaults.dmScale = 50;
    Make([&](FakePlatformPrinter& f) { f.Add("A", false, d); });
    EXPECT_EQ(printer->GetScale(), 100);
}

TEST_F(HqPrinterTest, ScaleComesFromTheSettingsWithTheScaleField) {
    FakeDriver d = Driver({}, {}, DM_SCALE);
    d.defaults.dmScale = 50;
    Make([&](FakePlatformPrinter& f) { f.Add("A", false, d); });
    EXPECT_EQ(printer->GetScale(), 50);
}

TEST_F(HqPrinterTest, ResolutionIsTheCurrentPrinters) {
    FakeDriver slow = Driver({}, {});
    slow.resolution = {120, 60};
    Make([&](FakePlatformPrinter& f) {
        f.Add("A");
        f.Add("S", false, slow);
    });
    printer->SetIndex(1);
    TPoint pt;
    printer->GetResolution(pt);
    EXPECT_EQ(pt.X, 120);
    EXPECT_EQ(pt.Y, 60);
}

// --- Assertions ---------------------------------------------------------------------------------

TEST_F(HqPrinterTest, EmptySettingsBlockIsAnAssertionFailure) {
    FakeDriver d;
    d.defaults.size = 0;
    Make([&](FakePlatformPrinter& f) { f.Add("A", false, d); });
    try {
        printer->GetSupportedFields();
        ADD_FAILURE();
    } catch (const EAssertionFailed& e) {
        EXPECT_THAT(e.Message(), HasSubstr("Assertion failure"));
    }
}

TEST_F(HqPrinterTest, CurrentPrinterMissingFromTheSnapshotIsAnAssertionFailure) {
    Make([&](FakePlatformPrinter& f) { f.Add("A"); });
    fake->printers[0].name = "renamed"; // the platform moved on, the snapshot did not
    EXPECT_THROW(printer->GetIndex(), EAssertionFailed);
}

// --- Ports and the change watch -----------------------------------------------------------------

TEST_F(HqPrinterTest, PortNamesAreListedOnceEach) {
    Make([](FakePlatformPrinter& f) { f.ports = {"usb://x", "file:/a", "usb://x", "file:/a", "lpd://h/q"}; });
    EXPECT_THAT(printer->GetPortNames(), ElementsAre("usb://x", "file:/a", "lpd://h/q"));
}

TEST_F(HqPrinterTest, WatchWithTheSamePrintersKeepsEverything) {
    Make([&](FakePlatformPrinter& f) {
        f.Add("A", false, Driver({{9, "A4"}}, {{8, "T"}}));
        f.Add("C");
    });
    int changes = 0;
    printer->OnChange = [&](THqPrinter&) { ++changes; };
    printer->SetIndex(1);
    printer->SetIndex(0);
    printer->GetPaperSizeNames();
    int modeCalls = fake->deviceModeCalls;
    int capabilityCalls = fake->capabilityCalls;
    printer->SettingsChanged();
    EXPECT_EQ(fake->discards, 0);
    EXPECT_EQ(fake->current, 0);
    printer->GetPaperSizeIndex();
    EXPECT_EQ(fake->deviceModeCalls, modeCalls);
    EXPECT_EQ(fake->capabilityCalls, capabilityCalls);
    EXPECT_EQ(changes, 0);
}

TEST_F(HqPrinterTest, WatchSeesAddedRemovedAndHiddenPrinters) {
    Make([&](FakePlatformPrinter& f) {
        f.Add("A");
        f.Add("C");
    });
    int changes = 0;
    printer->OnChange = [&](THqPrinter&) { ++changes; };
    fake->Add("D");
    printer->SettingsChanged();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(fake->discards, 1);
    EXPECT_THAT(printer->GetPrinterNames(), ElementsAre("A", "C", "D"));
    fake->printers[1].attributes |= PRINTER_ATTRIBUTE_HIDDEN; // same names, other attributes
    printer->SettingsChanged();
    EXPECT_EQ(changes, 2);
    EXPECT_THAT(printer->GetPrinterNames(), ElementsAre("A", "D"));
    fake->printers.erase(fake->printers.begin());
    printer->SettingsChanged();
    EXPECT_EQ(changes, 3);
    EXPECT_THAT(printer->GetPrinterNames(), ElementsAre("D"));
}

TEST_F(HqPrinterTest, WatchReportsChangedPortsWhenThePrintersStayTheSame) {
    Make([&](FakePlatformPrinter& f) {
        f.Add("A");
        f.ports = {"file:/a"};
    });
    int changes = 0;
    printer->OnChange = [&](THqPrinter&) { ++changes; };
    printer->GetPortNames();
    printer->SettingsChanged();
    EXPECT_EQ(changes, 0);
    fake->ports = {"file:/a", "usb://b"};
    printer->SettingsChanged();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(fake->discards, 0);
    EXPECT_THAT(printer->GetPortNames(), ElementsAre("file:/a", "usb://b"));
}

TEST(HqPrintersInfo, SnapshotsCompareNamesExactlyAndInOrder) {
    THqAllPrintersInfo a({{"A", 0}, {"b", 0x20}});
    EXPECT_TRUE(a.IsSame(THqAllPrintersInfo({{"A", 0}, {"b", 0x20}})));
    EXPECT_FALSE(a.IsSame(THqAllPrintersInfo({{"A", 0}, {"B", 0x20}})));
    EXPECT_FALSE(a.IsSame(THqAllPrintersInfo({{"b", 0x20}, {"A", 0}})));
    EXPECT_FALSE(a.IsSame(THqAllPrintersInfo({{"A", 0}})));
    EXPECT_TRUE(THqAllPrintersInfo(std::vector<PrinterRecord>{})
                    .IsSame(THqAllPrintersInfo(std::vector<PrinterRecord>{})));
}

} // namespace
