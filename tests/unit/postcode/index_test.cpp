// The index file: lookup, search by address, postcode folding, and files that are not whole.
#include "SampleData.h"
#include "postcode/Check.h"
#include "postcode/Code.h"
#include "postcode/IndexFormat.h"
#include "postcode/Messages.h"

#include <gtest/gtest.h>

#include <optional>

using postcode::EPostcodeData;
using Reason = postcode::EPostcodeData::Reason;

namespace {

struct CodeCase {
    const char* text;
    std::optional<std::string> code;
};

TEST(PostcodeCode, Normalised) {
    const CodeCase cases[] = {
        {"5300001", "5300001"},        {"530-0001", "5300001"},    {"５３０－０００１", "5300001"},
        {"５３００００１", "5300001"}, {" 530-0001　", "5300001"}, {"53-00001", std::nullopt},
        {"530000", std::nullopt},      {"53000011", std::nullopt}, {"530ー0001", std::nullopt},
        {"530--0001", std::nullopt},   {"", std::nullopt},         {"〒530-0001", std::nullopt},
    };
    for (const CodeCase& c : cases)
        EXPECT_EQ(postcode::NormalizeCode(Cp932FromUtf8(c.text)), c.code) << c.text;
    EXPECT_EQ(postcode::FormatCode("5300001"), "530-0001");
}

TEST(PostcodeIndex, LookupKeepsTheDataOrder) {
    TempDir dir;
    const auto idx = OpenSample(dir);
    const auto towns = idx->Lookup("4520961");
    ASSERT_EQ(towns.size(), 3u);
    EXPECT_EQ(towns[0].town, Cp932FromUtf8("春日明河原"));
    EXPECT_EQ(towns[2].town, Cp932FromUtf8("春日壱屋敷"));
    const auto prefs = idx->Lookup("4980000");
    ASSERT_EQ(prefs.size(), 2u);
    EXPECT_EQ(prefs[1].pref, Cp932FromUtf8("三重県"));
    EXPECT_TRUE(prefs[1].town.empty());
    const auto offices = idx->Lookup("1008370");
    ASSERT_EQ(offices.size(), 2u);
    EXPECT_TRUE(offices[0].business);
    EXPECT_EQ(offices[0].street, Cp932FromUtf8("２丁目６番４号"));
    EXPECT_EQ(offices[1].office, Cp932FromUtf8("古河機械金属　株式会社"));
    EXPECT_EQ(idx->Lookup("0600042").at(0).chome, "1-19");
    EXPECT_TRUE(idx->Lookup("1234567").empty());
    EXPECT_TRUE(idx->Lookup("530-0001").empty()); // takes NormalizeCode's output only
    EXPECT_EQ(idx->DataDate(), "2025-09-30");
    EXPECT_EQ(idx->BusinessEntries(), 2u);
    EXPECT_EQ(idx->Codes(), 18u);
}

TEST(PostcodeIndex, FindTakesTheLongestExactStart) {
    TempDir dir;
    const auto idx = OpenSample(dir);
    using V = std::vector<std::string>;
    EXPECT_EQ(idx->Find(Cp932FromUtf8("京都府京都市下京区富永町338")), (V{"6008023", "6008351"}));
    EXPECT_EQ(idx->Find(Cp932FromUtf8("北海道札幌市中央区大通西5丁目")), (V{"0600042", "0640820"}));
    EXPECT_EQ(idx->Find(Cp932FromUtf8("北海道札幌市中央区南1条")), (V{"0600000"}));
    EXPECT_EQ(idx->Find(Cp932FromUtf8("東京都千代田区大手町2-6-4")), (V{"1000004"})); // never a business code
    EXPECT_EQ(idx->Find(Cp932FromUtf8("大阪府大阪市北区 梅田")), (V{"5300000"}));     // no tolerances
    EXPECT_EQ(idx->Find(Cp932FromUtf8("大阪市北区梅田")), V{});
    EXPECT_EQ(idx->Find(""), V{});
}

TEST(PostcodeIndex, DamagedFilesAreRefusedWithTheirCause) {
    TempDir dir;
    std::string path;
    OpenSample(dir, &path);
    const std::string good = TempDir::Read(path);
    std::string wrongVersion = good;
    wrongVersion[8] = 3;
    std::string hugeSection = good;
    hugeSection[postcode::format::kSectionsOffset + 8 * postcode::format::kEntries + 7] = '\x7F';
    Reseal(hugeSection); // damage the checksum does not catch: the bounds must
    std::string olderVersion = good;
    olderVersion[8] = 1;
    Reseal(olderVersion);
    const struct {
        const char* what;
        std::string bytes;
        Reason reason;
    } cases[] = {
        {"empty", "", Reason::NotAnIndex},
        {"foreign", std::string(200, 'x'), Reason::NotAnIndex},
        {"header cut", good.substr(0, 40), Reason::Truncated},
        {"end cut", good.substr(0, good.size() - 1), Reason::Truncated},
        {"longer", good + "x", Reason::Truncated},
        {"other version", wrongVersion, Reason::WrongVersion},
        {"version without a checksum", olderVersion, Reason::WrongVersion},
        {"section past the end", hugeSection, Reason::Truncated},
    };
    for (const auto& c : cases) {
        const std::string file = dir.File("bad.idx");
        TempDir::Write(file, c.bytes);
        try {
            postcode::Index::Open(file);
            ADD_FAILURE() << c.what << " was opened";
        } catch (const EPostcodeData& e) {
            EXPECT_EQ(e.Why(), c.reason) << c.what;
            EXPECT_NE(e.Message().find(file), std::string::npos) << c.what;
        }
    }
    try {
        postcode::Index::Open(dir.File("none.idx"));
        ADD_FAILURE() << "a missing file was opened";
    } catch (const EPostcodeData& e) {
        EXPECT_EQ(e.Why(), Reason::Missing);
    }
}

TEST(PostcodeIndex, ScrambledContentsReadAsNothingAndNeverPastTheFile) {
    TempDir dir;
    std::string path;
    OpenSample(dir, &path);
    const std::string good = TempDir::Read(path);
    for (char fill : {'\xFF', '\x00', '\x41'}) {
        // Everything after the texts: cities, extras, entries and the town order.
        const std::size_t cities = postcode::format::Get32(good.data() + postcode::format::kSectionsOffset +
                                                           8 * postcode::format::kCities);
        std::string bad = good;
        std::fill(bad.begin() + static_cast<long>(cities), bad.end(), fill);
        Reseal(bad);
        TempDir::Write(path, bad);
        const auto idx = postcode::Index::Open(path);
        for (std::size_t i = 0; i < idx->EntryCount(); ++i)
            idx->EntryAt(i);
        idx->Lookup("5300001");
        idx->Find(Cp932FromUtf8("大阪府大阪市北区梅田"));
        EXPECT_NE(postcode::CheckAddress(*idx, "5300001", Cp932FromUtf8("大阪府大阪市北区梅田")).kind,
                  postcode::CheckKind::Match);
    }
}

TEST(PostcodeIndex, FlippedBitsAnywhereAreRefusedAsDamage) {
    TempDir dir;
    std::string path;
    OpenSample(dir, &path);
    const std::string good = TempDir::Read(path);
    // A bit in the checksum, in the counts, in a text, in an entry's code and in the last byte.
    const std::size_t strings = postcode::format::Get32(good.data() + postcode::format::kSectionsOffset);
    for (const std::size_t at : {postcode::format::kChecksumOffset + 1, postcode::format::kCountsOffset,
                                 strings + 5, good.size() / 2, good.size() - 1}) {
        for (const int bit : {0, 7}) {
            std::string bad = good;
            bad[at] = static_cast<char>(bad[at] ^ (1 << bit));
            TempDir::Write(path, bad);
            try {
                postcode::Index::Open(path);
                ADD_FAILURE() << "byte " << at << " bit " << bit << " went unnoticed";
            } catch (const EPostcodeData& e) {
                EXPECT_EQ(e.Why(), Reason::Damaged) << at;
                EXPECT_EQ(e.Message(), Cp932FromUtf8("郵便番号データを使えません（壊れています）: ") + path);
            }
        }
    }
}

TEST(PostcodeIndex, ATextReadsToTheEndOfItsSectionAndNotAByteBeyond) {
    TempDir dir;
    std::string path;
    OpenSample(dir, &path);
    std::string bytes = TempDir::Read(path);
    using namespace postcode::format;
    // The last text of the section is the town of the highest code, 9990003.
    const std::size_t end = Get32(bytes.data() + kSectionsOffset + 8 * kCities);
    ASSERT_EQ(Get32(bytes.data() + kSectionsOffset) + Get32(bytes.data() + kSectionsOffset + 4), end);
    const std::string town = Cp932FromUtf8("東十二丁目");
    ASSERT_EQ(bytes.compare(end - town.size(), town.size(), town), 0) << "the sample's last text moved";
    const std::size_t length = end - town.size() - 1;
    const struct {
        unsigned char length;
        std::string town;
    } cases[] = {{static_cast<unsigned char>(town.size()), town},
                 {static_cast<unsigned char>(town.size() + 1), ""}};
    for (const auto& c : cases) {
        bytes[length] = static_cast<char>(c.length);
        Reseal(bytes);
        TempDir::Write(path, bytes);
        const auto entries = postcode::Index::Open(path)->Lookup("9990003");
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].town, c.town) << int(c.length);
    }
}

TEST(PostcodeIndex, HolderOpensOnFirstUseAndTellsOnce) {
    TempDir dir;
    postcode::IndexHolder holder(dir.File("none.idx"));
    EXPECT_FALSE(holder.TakeUnavailableNotice()); // nothing tried yet
    EXPECT_EQ(holder.Get(), nullptr);
    EXPECT_FALSE(holder.Error().empty());
    EXPECT_TRUE(holder.TakeUnavailableNotice());
    EXPECT_FALSE(holder.TakeUnavailableNotice());
    std::string path;
    OpenSample(dir, &path);
    holder.Reset(path);
    ASSERT_NE(holder.Get(), nullptr);
    EXPECT_EQ(holder.Get()->Lookup("5300001").size(), 1u);
    EXPECT_FALSE(holder.TakeUnavailableNotice());
}

TEST(PostcodeIndex, ImportedIndexIsPreferredThenTheProgramsThenTheInstalledOne) {
    TempDir settings, bin;
    EXPECT_EQ(postcode::ChooseIndexPath(settings.Path().string(), bin.Path().string()),
              bin.File(std::string("../share/tavo_Zaridi2/") + postcode::kIndexFileName));
    TempDir::Write(bin.File(postcode::kIndexFileName), "x");
    EXPECT_EQ(postcode::ChooseIndexPath(settings.Path().string(), bin.Path().string()),
              bin.File(postcode::kIndexFileName));
    TempDir::Write(settings.File(postcode::kIndexFileName), "x");
    EXPECT_EQ(postcode::ChooseIndexPath(settings.Path().string(), bin.Path().string()),
              settings.File(postcode::kIndexFileName));
}

TEST(PostcodeMessages, WindowTexts) {
    TempDir dir;
    const auto idx = OpenSample(dir);
    EXPECT_EQ(
        postcode::MismatchWarning(postcode::CheckAddress(*idx, "5300001", Cp932FromUtf8("大阪市北区曽根崎"))),
        Cp932FromUtf8("郵便番号と住所が一致しません（〒530-0001 大阪府大阪市北区梅田）"));
    EXPECT_EQ(
        postcode::MismatchWarning(postcode::CheckAddress(*idx, "5300001", Cp932FromUtf8("大阪市北区梅田"))),
        "");
    EXPECT_EQ(postcode::SeveralCodesWarning({"6008023", "6008351"}),
              Cp932FromUtf8("住所に合う郵便番号が複数あります（〒600-8023、〒600-8351）"));
    EXPECT_EQ(postcode::SeveralCodesWarning({"1000001", "1000002", "1000003", "1000004"}),
              Cp932FromUtf8("住所に合う郵便番号が複数あります（〒100-0001、〒100-0002、〒100-0003 ほか）"));
    const auto office = idx->Lookup("1008370").at(0);
    EXPECT_EQ(postcode::AddressText(office), Cp932FromUtf8("東京都千代田区大手町２丁目６番４号"));
    EXPECT_EQ(postcode::AddressText(idx->Lookup("5300001").at(0)), Cp932FromUtf8("大阪府大阪市北区梅田"));
}

} // namespace
