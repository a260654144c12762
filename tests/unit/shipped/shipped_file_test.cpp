// Each shipped file against a sample laid out as its platform documents the upload (docs/shipped-files.md),
// from the slips the order import and the history give: every platform, void, wrong, missing and repeated
// numbers, several parcels of one order, formula-like and quoted names.
#include "orders/OrderFile.h"
#include "platform/Cp932Codec.h"
#include "platform/RuntimeErrors.h"
#include "shipped/ShippedFile.h"
#include "unit/support/Sjis.h"
#include "unit/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace shipped;

namespace {

// Found from the build's test folder, where ctest runs the tests.
std::string Sample(const char* name) {
    const auto path = std::filesystem::path(__FILE__).parent_path() / "data" / name;
    EXPECT_TRUE(std::filesystem::is_regular_file(path)) << path;
    return TempDir::Read(path.string());
}

ShippedSlip Slip(const char* platform, const char* order, const char* tracking, const char* name,
                 std::int64_t printed, std::map<std::string, std::string> refs = {}, bool isVoid = false,
                 const char* day = "2024-05-02") {
    return {Cp932FromUtf8(order), platform, std::move(refs), Cp932FromUtf8(tracking), isVoid, day,
            Cp932FromUtf8(name),  printed};
}

const char* const kR1 = "100000-20240501-0000000001";
const char* const kR2 = "100000-20240501-0000000002";
const char* const kA1 = "250-1234567-1234567";
std::map<std::string, std::string> Dest(const char* id) {
    return {{Cp932FromUtf8("送付先ID"), id}, {Cp932FromUtf8("商品明細ID"), "2001,2002"}};
}
const std::map<std::string, std::string> kItem = {{"order-item-id", "12345678901234"}};

// Given newest first, as the history list shows them; the files go oldest first.
const std::vector<ShippedSlip> kSlips = {
    Slip("", "", "EE473124829JP", "-山田", 160, {}, false, "2024-05-03"),
    Slip("rakuten", kR2, "512547514356", "佐藤 次郎", 155, Dest("1001000002")), // the same parcel again
    Slip("", "", "1311-2383-852", "\"Tanaka, Ltd\"", 150, {}, false, "2024-05-03"),
    Slip("yahoo", "store-10001", "405548424890", "=HYPERLINK(\"http://x.example/\",\"開く\")", 145, {}, false,
         "2024-05-03"),
    Slip("amazon", "", "405548424886", "田中 三郎", 140),
    Slip("rakuten", "100000-20240501-0000000004", "", "伊藤 四郎", 135, Dest("1001000004")),
    Slip("rakuten", "100000-20240501-0000000003", "400012345672", "渡辺 五郎", 130, Dest("1001000003")),
    Slip("rakuten", kR2, "512547514360", "佐藤 次郎", 125, Dest("1001000002"), true), // spoiled
    Slip("rakuten", kR2, "512547514356", "佐藤 次郎", 120, Dest("1001000002")),
    Slip("amazon", kA1, "４４４４１３７５８７１４", "鈴木 花子", 115, kItem),
    Slip("rakuten", kR1, "512547514345", "高橋 一郎", 110, Dest("1001000001")),
    Slip("amazon", kA1, "4444-1375-8703", "鈴木 花子", 105, kItem),
    Slip("rakuten", kR1, "5125 4751 4334", "高橋 一郎", 100, Dest("1001000001")),
};

TEST(ShippedFile, EachPlatformsFileMatchesItsDocumentedLayout) {
    using R = ApartReason;
    const struct {
        const char* format;
        Carrier carrier;
        const char* sample;
        std::vector<ApartSlip> apart;
        std::vector<ExtraNumbers> extra;
    } cases[] = {
        {"rakuten",
         Carrier::Sagawa,
         "rakuten_upload.csv",
         {{1, R::Duplicate}, {5, R::NoNumber}, {6, R::InvalidNumber}, {7, R::Void}},
         {}},
        {"amazon", Carrier::Yamato, "amazon_confirm.txt", {{4, R::NoOrder}}, {{kA1, {"444413758714"}}}},
        {"generic",
         Carrier::JapanPost,
         "generic_shipped.csv",
         {{1, R::Duplicate}, {5, R::NoNumber}, {6, R::InvalidNumber}, {7, R::Void}},
         {}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        const ShippedFormat& format = *FindShippedFormat(c.format);
        const ShippedFile file = BuildShippedFile(format, kSlips, c.carrier);
        const std::string path =
            WriteShippedFile(dir.Path().string(), format, "2024-05-02", "2024-05-03", file);
        EXPECT_EQ(std::filesystem::path(path).filename().string(),
                  std::string(c.format == std::string("generic") ? "shipped" : c.format) +
                      "_20240502-20240503." + (c.format == std::string("amazon") ? "txt" : "csv"));
        EXPECT_EQ(TempDir::Read(path), Sample(c.sample)) << c.format;
        EXPECT_EQ(file.apart, c.apart) << c.format;
        EXPECT_EQ(file.extra, c.extra) << c.format;
    }
    ShippedFormat utf8 = *FindShippedFormat("generic");
    utf8.encoding = TextEncoding::Utf8Bom;
    EXPECT_EQ(BuildShippedFile(utf8, kSlips, Carrier::JapanPost).bytes,
              "\xEF\xBB\xBF" + cp932::ToUtf8(Sample("generic_shipped.csv")));
}

TEST(ShippedFile, NamesComeBackUnchangedThroughACsvReader) {
    const std::vector<ShippedSlip> slips = {
        Slip("", "", "444413758703", "\"Tanaka, Ltd\"", 1),
        Slip("", "", "512547514334", "山田 \"ソ表\"\n2号室", 2),
    };
    const std::string bytes = BuildShippedFile(*FindShippedFormat("generic"), slips, Carrier::Sagawa).bytes;
    const orders::OrderTable table = orders::ParseOrderTable(bytes, "shipped.csv");
    ASSERT_EQ(table.rows.size(), slips.size());
    for (std::size_t i = 0; i < slips.size(); ++i)
        EXPECT_EQ(orders::RowCells(table, i).at(4), cp932::ToUtf8(slips[i].consignee));
}

TEST(ShippedFile, NothingIsWrittenWhenANumberCannotBeEncodedAndTheOldFileStays) {
    TempDir dir;
    const ShippedFormat& rakuten = *FindShippedFormat("rakuten");
    const std::string path = dir.File(ShippedFileName(rakuten, "2024-05-02", "2024-05-02"));
    TempDir::Write(path, "old");
    ShippedSlip bad = Slip("rakuten", kR1, "512547514334", "", 1, {{Cp932FromUtf8("送付先ID"), "10\x81"}});
    EXPECT_THROW(BuildShippedFile(rakuten, std::vector{bad}, Carrier::Sagawa), ESheetCell);
    ShippedFile file;
    file.bytes = "new";
    EXPECT_THROW(WriteShippedFile(dir.File("missing"), rakuten, "2024-05-02", "2024-05-02", file),
                 EInOutError);
    EXPECT_EQ(TempDir::Read(path), "old");
}

} // namespace
