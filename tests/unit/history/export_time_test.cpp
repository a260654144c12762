// The shipped list's bytes, its atomic export, the settings' [History] section, and timestamps.
#include "StoreUnderTest.h"
#include "history/ShippedCsv.h"
#include "orders/OrderFile.h"
#include "platform/ProfileFile.h"
#include "platform/RuntimeErrors.h"
#include "unit/support/TempDir.h"

#include <gtest/gtest.h>

using history::CsvEncoding;

TEST(ShippedCsv, BothEncodingsCarryTheSameTextQuotedWhereNeeded) {
    std::vector<history::ShippedRow> rows = {{"A-1", "2024/05/02", "123456789012", Sj("髙橋①")},
                                             {"", "2024/05/03", "", Sj("\"Tanaka, Ltd\"")}};
    const std::string utf8 = "注文番号,出荷日,配送業者,お問い合わせ伝票番号,お届け先名\r\n"
                             "A-1,2024/05/02,佐川急便,123456789012,髙橋①\r\n"
                             ",2024/05/03,佐川急便,,\"\"\"Tanaka, Ltd\"\"\"\r\n";
    EXPECT_EQ(history::ShippedCsv(rows, CsvEncoding::Utf8Bom, history::DefaultCarrier()),
              "\xEF\xBB\xBF" + utf8);
    EXPECT_EQ(history::ShippedCsv(rows, CsvEncoding::ShiftJis, history::DefaultCarrier()), Sj(utf8.c_str()));
}

TEST(ShippedCsv, TextWithQuotesReadsBackUnchangedThroughACsvReader) {
    const std::vector<history::ShippedRow> rows = {
        {"A\"1", "2024/05/02", "123456789012", Sj("山田\"本店\"")},
        {"A-2", "2024/05/02", "", Sj("\"株式会社, タヴォ\"")},
        {"A-3", "2024/05/02", "", Sj("二行\r\nの名前")},
        {"A-4", "2024/05/02", "", Sj("\"特選\"山田")}, // begins with a quote
    };
    for (const CsvEncoding encoding : {CsvEncoding::Utf8Bom, CsvEncoding::ShiftJis}) {
        const auto table = orders::ParseOrderTable(
            history::ShippedCsv(rows, encoding, history::DefaultCarrier()), "shipped.csv");
        ASSERT_EQ(table.rows.size(), rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const auto cells = orders::RowCells(table, i);
            EXPECT_EQ(cells.at(0), rows[i].order);
            EXPECT_EQ(cells.at(4), cp932::ToUtf8(rows[i].name));
        }
    }
}

TEST(ShippedCsv, TheExportReplacesTheFileWholeOrNotAtAll) {
    TempDir dir;
    auto store = FreshStore();
    store->Insert(SampleSlip());
    std::string path = dir.File("shipped.csv");
    TempDir::Write(path, "old");
    EXPECT_EQ(history::ExportShipped(*store, "2024-05-02", "2024-05-02", CsvEncoding::ShiftJis, path), 1u);
    EXPECT_EQ(TempDir::Read(path), history::ShippedCsv(store->Shipped("2024-05-02", "2024-05-02"),
                                                       CsvEncoding::ShiftJis, history::DefaultCarrier()));
    EXPECT_THROW(history::ExportShipped(*store, "2024-05-02", "2024-05-02", CsvEncoding::Utf8Bom,
                                        dir.File("none/shipped.csv")),
                 EInOutError);
    EXPECT_THROW(history::ExportShipped(*store, "2024-05-32", "2024-05-02", CsvEncoding::Utf8Bom, path),
                 history::EHistoryStore);
    EXPECT_EQ(TempDir::Read(path).substr(0, 8), Sj("注文番号"));
}

TEST(HistorySettings, AServerInTheSettingsMeansPostgresAndNeverAPassword) {
    auto settings = ProfileFile::FromBytes("tavo_Zaridi2.ini", "[tv_SAGAWAprn]\r\nE_ZIP=1\r\n[history]\r\n"
                                                               "server = db.example \r\nPort=5433\r\n"
                                                               "Database=" +
                                                                   Sj("履歴") +
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
