// The shipped list from the history read back through a CSV reader, the settings' [History] section,
// and timestamps.
#include "StoreUnderTest.h"
#include "history/ShippedSlips.h"
#include "orders/OrderFile.h"
#include "platform/Cp932Codec.h"
#include "platform/ProfileFile.h"
#include "platform/RuntimeErrors.h"
#include "shipped/ShippedFile.h"

#include <gtest/gtest.h>
#include <tuple>

TEST(ShippedExport, OrdersAndNamesComeBackThroughACsvReaderInEitherEncoding) {
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"A\"1", Cp932FromUtf8("山田\"本店\"")},
        {"A-2", Cp932FromUtf8("\"株式会社, タヴォ\"")},
        {"A,3", Cp932FromUtf8("二行\r\nの名前")},
        {"A-4", Cp932FromUtf8("\"特選\"山田")}, // begins with a quote
    };
    auto store = FreshStore(); // printed 2024-05-01 for 2024-05-02, each with a valid number
    const char* const numbers[] = {"444413758703", "512547514334", "405548424886", "512547514345"};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        history::HistoryRecord r = SampleSlip();
        std::tie(r.order, r.values.Edit_Custo1) = rows[i];
        r.tracking = numbers[i];
        store->Insert(r);
    }
    const auto slips = history::ShippedSlips(*store, "2024-05-02", "2024-05-02");
    shipped::ShippedFormat format = *shipped::FindShippedFormat("generic");
    const std::string header = "注文番号,出荷日,配送業者,お問い合わせ伝票番号,お届け先名,発送日\r\n";
    for (const auto& [encoding, start] :
         {std::pair{shipped::TextEncoding::Cp932, Cp932FromUtf8(header.c_str())},
          {shipped::TextEncoding::Utf8Bom, "\xEF\xBB\xBF" + header}}) {
        format.encoding = encoding;
        const std::string bytes = shipped::BuildShippedFile(format, slips, shipped::Carrier::Sagawa).bytes;
        EXPECT_EQ(bytes.substr(0, start.size()), start);
        const auto table = orders::ParseOrderTable(bytes, "shipped.csv");
        ASSERT_EQ(table.rows.size(), rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const auto cells = orders::RowCells(table, i);
            EXPECT_EQ(cells.at(0), rows[i].first);
            EXPECT_EQ(cells.at(4), cp932::ToUtf8(rows[i].second));
        }
    }
}

TEST(HistorySettings, AServerInTheSettingsMeansPostgresAndNeverAPassword) {
    auto settings = ProfileFile::FromBytes("tavo_Zaridi2.ini", "[tv_SAGAWAprn]\r\nE_ZIP=1\r\n[history]\r\n"
                                                               "server = db.example \r\nPort=5433\r\n"
                                                               "Database=" +
                                                                   Cp932FromUtf8("履歴") +
                                                                   "\r\nUser=desk1\r\n"
                                                                   "Password=secret\r\n");
    auto loc = history::LocationFromSettings(settings, "/work/shop");
    EXPECT_TRUE(loc.IsPostgres());
    EXPECT_EQ(
        loc.postgres,
        (history::PgParams{{"host", "db.example"}, {"port", "5433"}, {"dbname", "履歴"}, {"user", "desk1"}}));
    auto none = ProfileFile::FromBytes("tavo_Zaridi2.ini", "[History]\r\nServer=\r\n");
    EXPECT_EQ(history::LocationFromSettings(none, "/work/shop").sqlitePath, "/work/shop/tavo_Zaridi2.db");
}

TEST(Timestamps, OnlyWellFormedTimesWithAnOffsetAreAccepted) {
    const std::pair<const char*, std::optional<std::int64_t>> cases[] = {
        {"2024-05-01T09:30:00+09:00", 1714523400},   {"2024-05-01T00:30:00Z", 1714523400},
        {"2024-04-30T19:00:00-05:30", 1714523400},   {"2024-02-29T00:00:00+00:00", 1709164800},
        {"2023-02-29T00:00:00+00:00", std::nullopt}, {"2024-05-01T09:30:00", std::nullopt},
        {"2024/05/01T09:30:00+09:00", std::nullopt}, {"2024-05-01 09:30:00+09:00", std::nullopt},
        {"2024-05-01T24:00:00+09:00", std::nullopt}, {"2024-05-01T09:30:00+0900", std::nullopt},
    };
    for (const auto& [text, utc] : cases) {
        auto parsed = history::ParseTimestamp(text);
        EXPECT_EQ(parsed ? std::optional(parsed->utcSeconds) : std::nullopt, utc) << text;
    }
    EXPECT_EQ(history::ParseTimestamp("2024-04-30T19:00:00-05:30")->localDay, "2024-04-30");
    std::time_t now = std::time(nullptr);
    EXPECT_EQ(history::ParseTimestamp(history::LocalTimestamp(now))->utcSeconds, now);
}
