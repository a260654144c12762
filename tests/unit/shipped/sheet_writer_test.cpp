// The one CSV/TSV cell writer: formula-like cells neutralised, quoting, and characters no encoding holds.
#include "platform/Cp932Codec.h"
#include "platform/ProfileFile.h"
#include "shipped/Carrier.h"
#include "shipped/SheetWriter.h"
#include "unit/support/Sjis.h"

#include <gtest/gtest.h>

using namespace shipped;

namespace {

TEST(SheetCell, FormulaLikeCellsAreTextUnlessANumberOrDateByTheFormat) {
    using K = CellKind;
    const struct {
        const char* in;
        K kind;
        char sep;
        const char* out;
    } cases[] = {
        {"=SUM(A1:A9)", K::Text, ',', "'=SUM(A1:A9)"},
        {"+81 3 1234", K::Id, ',', "'+81 3 1234"},
        {"-5", K::Text, ',', "'-5"},
        {"-5", K::Number, ',', "-5"},
        {"@cmd", K::Text, ',', "'@cmd"},
        {"\tx", K::Text, ',', "'\tx"},
        {"\tx", K::Text, '\t', "\"'\tx\""},
        {"\rx", K::Text, ',', "\"'\rx\""},
        {"-1+2", K::Number, ',', "'-1+2"},
        {"2024-05-02", K::Date, ',', "2024-05-02"},
        {"=2024-05-02", K::Date, ',', "'=2024-05-02"},
        {"a,b", K::Text, ',', "\"a,b\""},
        {"a,b", K::Text, '\t', "a,b"},
        {"a\"b", K::Text, '\t', "\"a\"\"b\""},
        {"a\nb", K::Text, ',', "\"a\nb\""},
        {"", K::Id, ',', ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SheetCell(c.in, c.kind, c.sep), c.out) << c.in;
    // A trail byte 0x5C (ソ, 表) or 0x40 is no special character.
    EXPECT_EQ(SheetCell(Cp932FromUtf8("ソ表@"), K::Text, ','), Cp932FromUtf8("ソ表@"));
}

TEST(SheetWriter, BytesThatAreNoCharacterStopAnIdAndAreMarkedInAName) {
    SheetWriter sheet(',', TextEncoding::Utf8Bom);
    sheet.Cell(Cp932FromUtf8("髙橋①"), CellKind::Text, "name");
    sheet.Cell("A\x81", CellKind::Text, "name");
    sheet.EndRow();
    try {
        sheet.Cell("12\x85\x40", CellKind::Id, Cp932FromUtf8("お荷物伝票番号"));
        FAIL() << "an ID was written with bytes that are no character";
    } catch (const ESheetCell& e) {
        EXPECT_NE(e.Message().find(Cp932FromUtf8("2 行目「お荷物伝票番号」")), std::string::npos)
            << e.Message();
    }
    EXPECT_EQ(sheet.Bytes(), "\xEF\xBB\xBF髙橋①,A?\r\n");
    ASSERT_EQ(sheet.Notices().size(), 1u);
    EXPECT_NE(sheet.Notices()[0].find(Cp932FromUtf8("1 行目「name」")), std::string::npos);
}

TEST(CarrierSetting, ThreeNamesDefaultSagawaAnythingElseRefused) {
    const struct {
        const char* ini;
        std::optional<Carrier> carrier; // nullopt: refused
    } cases[] = {
        {"", Carrier::Sagawa},
        {"[History]\r\nCarrier=\r\n", Carrier::Sagawa},
        {"[history]\r\ncarrier= Yamato \r\n", Carrier::Yamato},
        {"[History]\r\nCarrier=japanpost\r\n", Carrier::JapanPost},
        {"[History]\r\nCarrier=kuroneko\r\n", std::nullopt},
    };
    for (const auto& c : cases) {
        auto settings = ProfileFile::FromBytes("tavo_Zaridi2.ini", c.ini);
        if (c.carrier)
            EXPECT_EQ(CarrierFromSettings(settings), *c.carrier) << c.ini;
        else
            EXPECT_THROW(CarrierFromSettings(settings), ECarrierSetting) << c.ini;
    }
}

} // namespace
