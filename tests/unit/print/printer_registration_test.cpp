#include "print/PrinterRegistration.h"
#include "printer/HqPrinter.h"
#include "unit/printer/FakePlatformPrinter.h"
#include "unit/support/Sjis.h"
#include "unit/support/TempDir.h"

#include <gtest/gtest.h>

TEST(PrinterRegistration, UnregisteredSlipTypeReadsZerosAndSaysSo) {
    TempDir dir;
    auto r = ReadPrinterRegistration(dir.File("tavo_a500.ini"), Cp932FromUtf8("手差し"));
    EXPECT_EQ(r.printerIndex, "0");
    EXPECT_EQ(r.top, "0");
    EXPECT_EQ(r.left, "0");
    EXPECT_FALSE(r.registered);
}

TEST(PrinterRegistration, MarginsOfAnUnregisteredSlipTypeRegisterNoPrinter) {
    TempDir dir;
    const std::string path = dir.File("tavo_a500.ini");
    PrinterRegistration r = ReadPrinterRegistration(path, Cp932FromUtf8("手差し"));
    r.top = "7";
    WritePrinterRegistration(path, Cp932FromUtf8("手差し"), r);
    EXPECT_EQ(TempDir::Read(path), Cp932FromUtf8("[手差し]\r\ntavPrn_Top=7\r\ntavPrn_Left=0\r\n"));
    EXPECT_FALSE(ReadPrinterRegistration(path, Cp932FromUtf8("手差し")).registered);
    EXPECT_EQ(FindPrinterRegistration(path, Cp932FromUtf8("手差し")), std::nullopt);
    // An index alone, as older versions wrote it, is a registration.
    TempDir::Write(path, Cp932FromUtf8("[手差し]\r\nPrnNoIndex=1\r\n"));
    EXPECT_TRUE(ReadPrinterRegistration(path, Cp932FromUtf8("手差し")).registered);
}

TEST(PrinterRegistration, SectionsAreNamedBySlipTypeWithKeysInOrder) {
    TempDir dir;
    std::string path = dir.File("tavo_a500.ini");
    WritePrinterRegistration(path, Cp932FromUtf8("連続(４インチ)"),
                             {Cp932FromUtf8("ドット"), "1", "12", "-5"});
    WritePrinterRegistration(path, Cp932FromUtf8("手差し"), {"slip", "0", "", "3"});
    EXPECT_EQ(TempDir::Read(path),
              Cp932FromUtf8("[連続(４インチ)]\r\nPrnName=ドット\r\nPrnNoIndex=1\r\ntavPrn_Top=12\r\n"
                            "tavPrn_Left=-5\r\n[手差し]\r\nPrnName=slip\r\nPrnNoIndex=0\r\n"
                            "tavPrn_Top=\r\ntavPrn_Left=3\r\n"));
    auto r = ReadPrinterRegistration(path, Cp932FromUtf8("連続(４インチ)"));
    EXPECT_EQ(r.printerIndex, "1");
    EXPECT_EQ(r.top, "12");
    EXPECT_EQ(r.left, "-5");
    EXPECT_EQ(ReadPrinterRegistration(path, Cp932FromUtf8("手差し")).top,
              ""); // an emptied margin stays empty
}

TEST(PrinterRegistration, TheNameIsReadTrimmedAndAMissingOneIsEmpty) {
    TempDir dir;
    std::string path = dir.File("tavo_a500.ini");
    TempDir::Write(
        path,
        Cp932FromUtf8("[手差し]\r\nPrnName= slip \r\nPrnNoIndex=1\r\n[連続(４インチ)]\r\nPrnNoIndex=0\r\n"));
    EXPECT_EQ(ReadPrinterRegistration(path, Cp932FromUtf8("手差し")).printerName, "slip");
    EXPECT_EQ(ReadPrinterRegistration(path, Cp932FromUtf8("連続(４インチ)")).printerName, "");
}

TEST(PrinterRegistration, ARegisteredNameIsFoundWhereverItStandsOrSaysWhyNot) {
    auto platform = std::make_unique<FakePlatformPrinter>();
    platform->Add("dotmatrix");
    platform->Add("rejecting", true);
    platform->Add("slip");
    THqPrinter printer(std::move(platform));
    EXPECT_EQ(NamedPrinterIndex(printer, "slip"), 1);
    const struct {
        const char* name;
        const char* message;
    } refused[] = {{"gone", "登録されたプリンタ「gone」が見つかりません"},
                   {"rejecting", "登録されたプリンタ「rejecting」は印刷を受け付けていません"}};
    for (const auto& c : refused) {
        try {
            NamedPrinterIndex(printer, c.name);
            ADD_FAILURE() << c.name << " was found";
        } catch (const EHqPrinterNotThere& e) {
            EXPECT_EQ(e.Message(), Cp932FromUtf8(c.message));
        }
    }
}

TEST(PrinterRegistration, PrintModeIsGraphicsUnlessTheSectionSaysText) {
    TempDir dir;
    const std::string path = dir.File("tavo_a500.ini");
    const struct {
        const char* section;
        PrintMode mode;
    } read[] = {{"", PrintMode::Graphics},
                {"PrintMode=text\r\n", PrintMode::Text},
                {"PrintMode= TEXT \r\n", PrintMode::Text},
                {"PrintMode=graphics\r\n", PrintMode::Graphics},
                {"PrintMode=bitmap\r\n", PrintMode::Graphics}};
    for (const auto& c : read) {
        TempDir::Write(path, Cp932FromUtf8("[手差し]\r\nPrnNoIndex=1\r\n") + c.section);
        EXPECT_EQ(ReadPrinterRegistration(path, Cp932FromUtf8("手差し")).mode, c.mode) << c.section;
    }
}

TEST(PrinterRegistration, PrintModeIsWrittenOnceChosenAndKeptThrough) {
    TempDir dir;
    const std::string path = dir.File("tavo_a500.ini");
    PrinterRegistration r{"slip", "1", "0", "0"};
    WritePrinterRegistration(path, Cp932FromUtf8("手差し"), r); // graphics, never chosen: the file as before
    r.mode = PrintMode::Text;
    WritePrinterRegistration(path, Cp932FromUtf8("連続(４インチ)"), r);
    EXPECT_EQ(TempDir::Read(path),
              Cp932FromUtf8("[手差し]\r\nPrnName=slip\r\nPrnNoIndex=1\r\ntavPrn_Top=0\r\ntavPrn_Left=0\r\n"
                            "[連続(４インチ)]\r\nPrnName=slip\r\nPrnNoIndex=1\r\ntavPrn_Top=0\r\n"
                            "tavPrn_Left=0\r\nPrintMode=text\r\n"));
    // New margins read and written back keep the mode; back to graphics says so.
    PrinterRegistration again = ReadPrinterRegistration(path, Cp932FromUtf8("連続(４インチ)"));
    again.top = "4";
    WritePrinterRegistration(path, Cp932FromUtf8("連続(４インチ)"), again);
    EXPECT_EQ(ReadPrinterRegistration(path, Cp932FromUtf8("連続(４インチ)")).mode, PrintMode::Text);
    again.mode = PrintMode::Graphics;
    WritePrinterRegistration(path, Cp932FromUtf8("連続(４インチ)"), again);
    EXPECT_NE(TempDir::Read(path).find("tavPrn_Left=0\r\nPrintMode=graphics\r\n"), std::string::npos);
}
