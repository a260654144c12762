#include "app/MainSettings.h"
#include "app/SupportLinks.h"
#include "platform/ProfileFile.h"
#include "unit/support/Sjis.h"

#include <gtest/gtest.h>

TEST(MainSettings, EmptyFileGivesTheDefaults) {
    MainSettings s = ReadMainSettings(ProfileFile::FromBytes("x.ini", ""));
    EXPECT_EQ(s.TabMy, 0);
    EXPECT_EQ(s.AddrFont, 1);
    EXPECT_EQ(s.values.KyNumEdit_KOSUU, "1");
    EXPECT_EQ(s.ComboSel, 0);
    EXPECT_EQ(s.values.Edit_Zip, "");
    EXPECT_EQ(s.values.Edit_My, "");
}

TEST(MainSettings, KeysMatchWithoutLetterCaseAndBadIntegersFallBack) {
    MainSettings s = ReadMainSettings(ProfileFile::FromBytes(
        "x.ini",
        "[TV_SAGAWAPRN]\r\nop023myzip=543\r\nTAB_MY=$5\r\nAddr_Font=x\r\nComboBox_SEL= 1\r\nKOSUU=\r\n"));
    EXPECT_EQ(s.values.Edit_MyZip, "543");
    EXPECT_EQ(s.TabMy, 5);
    EXPECT_EQ(s.AddrFont, 1);
    EXPECT_EQ(s.ComboSel, 1);
    EXPECT_EQ(s.values.KyNumEdit_KOSUU, ""); // present but empty is not missing
}

TEST(MainSettings, WriteOrderOfANewFile) {
    ProfileFile f = ProfileFile::FromBytes("x.ini", "");
    MainSettings s;
    s.values.Edit_Zip = "123-4567";
    s.values.Edit_Custo1 = Cp932FromUtf8("山田");
    s.TabMy = 9;
    WriteMainSettings(f, s);
    EXPECT_EQ(
        f.Bytes(),
        "[tv_SAGAWAprn]\r\nAddr_Font=1\r\nE_ZIP=123-4567\r\nE_AD1=\r\nE_AD2=\r\nE_CUS=" +
            Cp932FromUtf8("山田") +
            "\r\nE_TEL=\r\nE_G1=\r\nE_G2=\r\nE_G3=\r\nKOSUU=1\r\nOP023My=\r\nOP023MyZip=\r\n"
            "OP023MyADD1=\r\nOP023MyADD2=\r\nOP023MyTEL=\r\nComboBox_SEL=0\r\nTab_My=9\r\nTaxRate=10\r\n");
}

TEST(MainSettings, WriteThenReadGivesTheSameValues) {
    ProfileFile f = ProfileFile::FromBytes("x.ini", "; note\r\n[tv_SAGAWAprn]\r\nZaRIDI2prnno=3\r\n");
    MainSettings s;
    s.values.Edit_My = Cp932FromUtf8("送り主　");
    s.values.Edit_Add1 = "  leading blanks";
    s.values.Edit_G3 = Cp932FromUtf8("表示ソ");
    s.values.KyNumEdit_KOSUU = "999";
    s.ComboSel = 1;
    s.AddrFont = -1;
    WriteMainSettings(f, s);
    MainSettings back = ReadMainSettings(ProfileFile::FromBytes("x.ini", f.Bytes()));
    EXPECT_EQ(back.values.Edit_My, s.values.Edit_My);
    EXPECT_EQ(back.values.Edit_Add1, s.values.Edit_Add1);
    EXPECT_EQ(back.values.Edit_G3, s.values.Edit_G3);
    EXPECT_EQ(back.values.KyNumEdit_KOSUU, "999");
    EXPECT_EQ(back.ComboSel, 1);
    EXPECT_EQ(back.AddrFont, -1);
    EXPECT_NE(f.Bytes().find("ZaRIDI2prnno=3"), std::string::npos); // the printer-setup key stays
}

TEST(MainSettings, TaxRateIsAWholePercentAndTenWithoutAUsableKey) {
    const struct {
        const char* file;
        int rate;
    } cases[] = {
        {"", 10},
        {"[tv_SAGAWAprn]\r\nTaxRate=8\r\n", 8},
        {"[tv_SAGAWAprn]\r\ntaxrate= 5 \r\n", 5},
        {"[tv_SAGAWAprn]\r\nTaxRate=\r\n", 10},
        {"[tv_SAGAWAprn]\r\nTaxRate=8%\r\n", 10},
        {"[tv_SAGAWAprn]\r\nTaxRate=101\r\n", 10},
        {"[tv_SAGAWAprn]\r\nTaxRate=-8\r\n", 10},
        {"[Other]\r\nTaxRate=8\r\n", 10},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadMainSettings(ProfileFile::FromBytes("x.ini", c.file)).TaxRate, c.rate) << c.file;
    ProfileFile f = ProfileFile::FromBytes("x.ini", "");
    MainSettings s;
    s.TaxRate = 8;
    WriteMainSettings(f, s);
    EXPECT_EQ(ReadMainSettings(ProfileFile::FromBytes("x.ini", f.Bytes())).TaxRate, 8);
}

TEST(SupportLinks, TargetsComeFromTheSupportSectionTrimmed) {
    const SupportTargets set = ReadSupportTargets(
        ProfileFile::FromBytes("x.ini", "[support]\r\nURL= https://shop.example/ \r\nmail=a@b.jp\r\n"));
    EXPECT_EQ(set.url, "https://shop.example/");
    EXPECT_EQ(set.mail, "a@b.jp");
    const SupportTargets none = ReadSupportTargets(
        ProfileFile::FromBytes("x.ini", "[tv_SAGAWAprn]\r\nUrl=x\r\n[Support]\r\nMail= \r\n"));
    EXPECT_EQ(none.url, "");
    EXPECT_EQ(none.mail, "");
}

TEST(SupportLinks, MailTextIsJoinedWithNothingBetween) {
    EXPECT_EQ(SupportMailText("a@b.jp"),
              "mailto:a@b.jp?" + Cp932FromUtf8("subject=tavoへの問い合わせ&") + "cc=&bcc=&");
}
