// The whole transfer on order texts as users paste them: shop mails, web forms, spreadsheet cells.
#include "TextLiterals.h"
#include "slip/SampleSlip.h"
#include "transfer/AddressWarning.h"
#include "transfer/Transfer.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

// Fields in UTF-8, for readable comparisons.
struct Fields {
    std::string zip, add1, add2, add3, custo1, tel;
    bool operator==(const Fields&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Fields& f) {
    return os << "{zip=" << f.zip << " add1=" << f.add1 << " add2=" << f.add2 << " add3=" << f.add3
              << " custo1=" << f.custo1 << " tel=" << f.tel << "}";
}

Fields ToUtf8(const slip::Record& f) {
    return {Utf8FromCp932(f.Edit_Zip),  Utf8FromCp932(f.Edit_Add1),   Utf8FromCp932(f.Edit_Add2),
            Utf8FromCp932(f.Edit_Add3), Utf8FromCp932(f.Edit_Custo1), Utf8FromCp932(f.Edit_tel)};
}

slip::Record FromUtf8(const Fields& f) {
    slip::Record r;
    r.Edit_Zip = Cp932FromUtf8(f.zip);
    r.Edit_Add1 = Cp932FromUtf8(f.add1);
    r.Edit_Add2 = Cp932FromUtf8(f.add2);
    r.Edit_Add3 = Cp932FromUtf8(f.add3);
    r.Edit_Custo1 = Cp932FromUtf8(f.custo1);
    r.Edit_tel = Cp932FromUtf8(f.tel);
    return r;
}

TransferResult Transfer(std::initializer_list<std::string_view> memo, const Fields& before = {}) {
    return RunTransfer(Cp932Lines(memo), FromUtf8(before));
}

TEST(Transfer, LabelledOrderLines) {
    const auto r = Transfer({"お届け先：〒123-4567", "住所：東京都新宿区西新宿2-8-1", "お名前：山田太郎 様",
                             "TEL：03-1234-5678"});
    EXPECT_FALSE(r.noText);
    EXPECT_EQ(ToUtf8(r.fields),
              (Fields{"123-4567", "東京都新宿区西新宿2-8-1", "", "", "山田太郎", "03-1234-5678"}));
    EXPECT_EQ(ULines(r.memo),
              (Lines{"123-4567", "東京都新宿区西新宿2-8-1", "山田太郎", "03-1234-5678", "", "", ""}));
    EXPECT_EQ(r.warning, "");
}

TEST(Transfer, AHeadingInBracketsOrAfterAMarkTakesNoField) {
    for (std::string_view heading : {"【お届け先】", "[お届け先]", "■お届け先", "《お届け先》"}) {
        const auto r =
            Transfer({heading, "〒530-0001", "大阪府大阪市北区梅田1-1-1", "山田太郎 様", "06-1234-5678"});
        EXPECT_EQ(ToUtf8(r.fields),
                  (Fields{"530-0001", "大阪府大阪市北区梅田1-1-1", "", "", "山田太郎", "06-1234-5678"}))
            << heading;
    }
}

TEST(Transfer, OnlyTheConsigneeOfTheSlipChanges) {
    const slip::Record before = slip::SampleSlip();
    const auto r = RunTransfer(Cp932Lines({"〒100-0001", "東京都千代田区千代田1-1", "佐藤花子 様"}), before);
    EXPECT_EQ(Utf8FromCp932(r.fields.Edit_Custo1), "佐藤花子");
    for (const slip::Field& f : slip::kFields) {
        if (f.filledBy & slip::kTransfer) continue;
        if (f.flag)
            EXPECT_EQ(r.fields.*f.flag, before.*f.flag) << f.name;
        else
            EXPECT_EQ(r.fields.*f.text, before.*f.text) << f.name;
    }
}

TEST(Transfer, PostcodeAndAddressOnOneLine) {
    const auto r = Transfer({"〒123-4567 東京都千代田区丸の内1-1-1", "山田太郎 様", "TEL 03-1234-5678"});
    EXPECT_EQ(ToUtf8(r.fields),
              (Fields{"123-4567", "東京都千代田区丸の内1-1-1", "", "", "山田太郎", "03-1234-5678"}));
    EXPECT_EQ(ULines(r.memo),
              (Lines{"123-4567", "山田太郎", "03-1234-5678", " 東京都千代田区丸の内1-1-1", "", "", ""}));
}

TEST(Transfer, WebFormInFullWidthDigitsWithAMailLine) {
    const auto r = Transfer({"郵便番号：１６０－００２３", "ご住所：東京都新宿区西新宿１－２－３",
                             "新宿マンション５０１号室", "お名前：鈴木　花子　様",
                             "メール：hanako@example.ne.jp", "電話番号：０９０－１２３４－５６７８"});
    // Postcode and telephone arrive half-width; the address lines keep their width.
    EXPECT_EQ(ToUtf8(r.fields), (Fields{"160-0023", "東京都新宿区西新宿１－２－３",
                                        "新宿マンション５０１号室", "", "鈴木　花子", "090-1234-5678"}));
}

TEST(Transfer, SpreadsheetCellsOneAPerLine) {
    const auto r =
        Transfer({"佐藤一郎", "150-0001", "東京都渋谷区神宮前1-2-3", "ﾊｲﾂ神宮前 202", "03-5555-1234"});
    EXPECT_EQ(ToUtf8(r.fields), (Fields{"150-0001", "東京都渋谷区神宮前1-2-3", "ﾊｲﾂ神宮前 202", "",
                                        "佐藤一郎", "03-5555-1234"}));
}

TEST(Transfer, SpreadsheetRowWithTabsSplitsOffThePostcodeOnly) {
    const auto r = Transfer({"〒150-0001\t東京都渋谷区神宮前1-2-3\t佐藤一郎\t03-5555-1234"});
    EXPECT_EQ(Utf8FromCp932(r.fields.Edit_Zip), "150-0001");
    EXPECT_EQ(Utf8FromCp932(r.fields.Edit_Add1), "東京都渋谷区神宮前1-2-3\t佐藤一郎\t03-5555-1234");
    EXPECT_EQ(Utf8FromCp932(r.warning), "警告:おところ①の文字数が多すぎます。　おところ②へ分割してください");
}

TEST(Transfer, APrefectureLineIsJoinedToTheFirstAddress) {
    const auto r = Transfer({"神奈川県", "横浜市中区1-2-3", "大阪府", "ｺｰﾎﾟ山下 101号"});
    EXPECT_EQ(Utf8FromCp932(r.fields.Edit_Add1), "神奈川県横浜市中区1-2-3");
    EXPECT_EQ(Utf8FromCp932(r.fields.Edit_Add2), "ｺｰﾎﾟ山下 101号");
}

TEST(Transfer, OnlyTheFirstPostcodePhoneAndNameAndTwoAddressesAreTaken) {
    const auto r = Transfer({"03-1234-5678", "090-9876-5432", "123-4567", "765-4321", "山田太郎",
                             "東京都港区芝公園4-2-8", "大阪府大阪市北区梅田1-1-1"});
    EXPECT_EQ(ToUtf8(r.fields), (Fields{"123-4567", "東京都港区芝公園4-2-8", "大阪府大阪市北区梅田1-1-1", "",
                                        "山田太郎", "03-1234-5678"}));
    const auto three = Transfer(
        {"東京都港区芝公園4-2-8", "大阪府大阪市北区梅田1-1-1", "福岡県福岡市博多区1-1", "山田", "田中"});
    EXPECT_EQ(Utf8FromCp932(three.fields.Edit_Add2), "大阪府大阪市北区梅田1-1-1");
    EXPECT_EQ(Utf8FromCp932(three.fields.Edit_Custo1), "山田");
}

TEST(Transfer, FaxAndSevenDigitPostcodesAreAddresses) {
    const auto r = Transfer({"FAX 03-1234-5679", "1234567"});
    EXPECT_EQ(Utf8FromCp932(r.fields.Edit_Add1), "FAX 03-1234-5679");
    EXPECT_EQ(Utf8FromCp932(r.fields.Edit_Add2), "1234567");
    EXPECT_EQ(r.fields.Edit_tel, "");
    EXPECT_EQ(r.fields.Edit_Zip, "");
}

TEST(Transfer, ClearsTheOldConsigneeButKeepsTheThirdAddressLine) {
    const Fields before{"999-9999", "old 1", "old 2", "old 3", "old name", "00-0000-0000"};
    const auto r = Transfer({"山田太郎"}, before);
    EXPECT_EQ(ToUtf8(r.fields), (Fields{"", "", "", "old 3", "山田太郎", ""}));
}

TEST(Transfer, NoTextLeavesTheFieldsAndReevaluatesTheWarning) {
    const Fields before{"123-4567", "あいうえおかきくけこさしすせそたちつてとな", "b", "c", "d", "e"};
    for (const Lines& memo : {Lines{}, Lines{"", " \t", "\r"}, Lines{"info@example.com", "http://a.jp"}}) {
        const TransferResult r = RunTransfer(memo, FromUtf8(before));
        EXPECT_TRUE(r.noText);
        EXPECT_TRUE(r.memo.empty());
        EXPECT_EQ(ToUtf8(r.fields), before);
        EXPECT_EQ(r.warning, kAddressWarningText); // 42 bytes
    }
}

TEST(Transfer, ALineOfIdeographicSpacesIsTextThatYieldsNothing) {
    const auto r = Transfer({"　　"}, Fields{"1", "2", "3", "4", "5", "6"});
    EXPECT_FALSE(r.noText);
    EXPECT_EQ(ToUtf8(r.fields), (Fields{"", "", "", "4", "", ""}));
    EXPECT_EQ(r.memo, Lines(7));
}

TEST(Transfer, TextBelowLine16CountsAsNoText) {
    Lines memo(16, "");
    memo.push_back(Cp932FromUtf8("東京都港区芝公園4-2-8"));
    EXPECT_TRUE(RunTransfer(memo, {}).noText);
}

TEST(Transfer, AHugePasteIsReadOnlyToLine16) {
    Lines memo(100000, Cp932FromUtf8("東京都港区芝公園4-2-8"));
    for (int i = 0; i < 15; ++i)
        memo[i] = "";
    memo[15] = Cp932FromUtf8("山田太郎");
    const auto r = RunTransfer(memo, {});
    EXPECT_EQ(ToUtf8(r.fields), (Fields{"", "", "", "", "山田太郎", ""}));
    EXPECT_EQ(ULines(r.memo), (Lines{"山田太郎", "", "", "", "", "", ""}));
}

TEST(Transfer, AMegabyteLineIsCutAndSaysSo) {
    const std::string huge = Cp932FromUtf8("東京都港区芝公園") + std::string(1 << 20, '1');
    const auto r = RunTransfer(Lines{Cp932FromUtf8("〒105-0011"), huge, Cp932FromUtf8("山田太郎")}, {});
    EXPECT_EQ(r.fields.Edit_Add1, huge.substr(0, 2047));
    EXPECT_EQ(ToUtf8(r.fields).custo1, "山田太郎");
    EXPECT_TRUE(r.cut);
    EXPECT_EQ(r.memo[1].size(), 2047u);
    // A prefecture line joined to a full-length address is cut as well.
    const auto joined =
        RunTransfer(Lines{Cp932FromUtf8("東京都"), Cp932FromUtf8("港区芝公園") + std::string(2037, '1')}, {});
    EXPECT_EQ(joined.fields.Edit_Add1, Cp932FromUtf8("東京都港区芝公園") + std::string(2031, '1'));
    EXPECT_TRUE(joined.cut);
    EXPECT_FALSE(Transfer({"東京都港区芝公園4-2-8"}).cut);
}

TEST(Transfer, InvisibleFormatCharactersInThePasteDoNotBreakRecognition) {
    // As pasted from a web page: zero-width spaces, a direction mark, a byte-order mark.
    const auto r = Transfer({"\uFEFF〒105-\u200B0011", "東京都港区\u200E芝公園4-2-8", "山\u200B田太郎 様",
                             "TEL\u200B03-1234-5678"});
    EXPECT_EQ(ToUtf8(r.fields),
              (Fields{"105-0011", "東京都港区芝公園4-2-8", "", "", "山田太郎", "03-1234-5678"}));
}

TEST(Transfer, TwentyLinesLeaveSevenInTheMemo) {
    Lines memo;
    for (int i = 1; i <= 20; ++i)
        memo.push_back("line" + std::to_string(i));
    const auto r = RunTransfer(memo, {});
    EXPECT_EQ(r.memo, (Lines{"line1", "line2", "line3", "line4", "line5", "line6", "line7"}));
}

TEST(Transfer, WarningAtMoreThanFortyBytesOfTheJoinedFirstAddress) {
    // 6 + 34 = 40 bytes: no warning; one more byte: warning.
    const auto ok = Transfer({"東京都", "港区芝公園あいうえおかきくけこさし"});
    EXPECT_EQ(ok.fields.Edit_Add1.size(), 40u);
    EXPECT_EQ(ok.warning, "");
    const auto longer = Transfer({"東京都", "港区芝公園あいうえおかきくけこさし1"});
    EXPECT_EQ(longer.fields.Edit_Add1.size(), 41u);
    EXPECT_EQ(longer.warning, kAddressWarningText);
}

TEST(Transfer, RunningAgainOnTheRewrittenMemoGivesTheSameFields) {
    for (std::initializer_list<std::string_view> memo :
         {std::initializer_list<std::string_view>{"お届け先：〒123-4567", "住所：東京都新宿区西新宿2-8-1",
                                                  "お名前：山田太郎 様", "TEL：03-1234-5678"},
          {"〒123-4567 東京都千代田区丸の内1-1-1", "山田太郎 様", "TEL 03-1234-5678"},
          {"郵便番号：１６０－００２３", "ご住所：東京都新宿区西新宿１－２－３",
           "電話番号：０９０－１２３４－５６７８"}}) {
        const auto first = Transfer(memo);
        const auto second = RunTransfer(first.memo, {});
        EXPECT_EQ(ToUtf8(second.fields), ToUtf8(first.fields));
    }
}

TEST(AddressWarning, FortyBytesFitFortyOneDoNot) {
    EXPECT_EQ(AddressWarning(std::string(40, 'a')), "");
    EXPECT_EQ(AddressWarning(std::string(41, 'a')), kAddressWarningText);
    EXPECT_EQ(AddressWarning(""), "");
}

TEST(FirstMemoLines, SplitsAtLfAndCrLfAndStopsAtTheCount) {
    EXPECT_EQ(FirstMemoLines("a\r\nb\nc", 16), (Lines{"a", "b", "c"}));
    EXPECT_EQ(FirstMemoLines("a\r\n\r\nb\r\n", 16), (Lines{"a", "", "b"}));
    EXPECT_EQ(FirstMemoLines("1\n2\n3\n4", 2), (Lines{"1", "2"}));
    EXPECT_EQ(FirstMemoLines("a\rb\n", 16), (Lines{"a\rb"}));
    EXPECT_TRUE(FirstMemoLines("", 16).empty());
}

} // namespace
