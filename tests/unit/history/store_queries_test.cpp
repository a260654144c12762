// The store's queries, the same on both databases (this file is compiled into unit_history for SQLite
// and into pg_tests for PostgreSQL).
#include "StoreUnderTest.h"
#include "history/ShippedSlips.h"

#include <gtest/gtest.h>
#include <tuple>

using history::HistoryRecord;
using history::SearchQuery;

namespace {

std::vector<std::string> Names(const std::vector<HistoryRecord>& rows) {
    std::vector<std::string> out;
    for (const HistoryRecord& r : rows)
        out.push_back(r.values.Edit_Custo1);
    return out;
}

HistoryRecord Named(const std::string& name, const std::string& time = "2024-05-01T09:30:00+09:00") {
    HistoryRecord r = SampleSlip(time);
    r.values.Edit_Custo1 = name;
    return r;
}

} // namespace

TEST(StoreQueries, EveryPrintedValueComesBackAsStored) {
    auto store = FreshStore();
    HistoryRecord in = SampleSlip();
    in.values.CheckBox_My = false;
    in.values.CheckBox_p1 = true;
    in.values.Edit_G3 = Cp932FromUtf8(" 先頭と末尾の空白 ");
    in.isVoid = true;
    in.refs[Cp932FromUtf8("メモ")] = Cp932FromUtf8("\"引用\"\\と\n改行");
    std::int64_t id = store->Insert(in);
    auto out = store->Get(id);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->uuid.size(), 36u);
    in.id = id;
    in.uuid = out->uuid;
    EXPECT_TRUE(*out == in);
    EXPECT_FALSE(store->Get(id + 1000));
}

TEST(StoreQueries, ListIsOrderedByTheMomentOfPrintingAcrossTimeZones) {
    auto store = FreshStore();
    store->Insert(Named("b", "2024-05-01T10:00:00+09:00")); // 01:00 UTC
    store->Insert(Named("c", "2024-05-01T02:30:00+01:00")); // 01:30 UTC
    store->Insert(Named("a", "2024-04-30T23:59:59+00:00"));
    EXPECT_EQ(Names(store->Search({})), (std::vector<std::string>{"c", "b", "a"}));
    SearchQuery oldest;
    oldest.oldestFirst = true;
    oldest.limit = 2;
    EXPECT_EQ(Names(store->Search(oldest)), (std::vector<std::string>{"a", "b"}));
}

TEST(StoreQueries, SearchTextIsTakenLiterally) {
    auto store = FreshStore();
    const std::vector<std::string> stored = {
        Cp932FromUtf8("５０%引き"),        "a_b", "O'Brien", "x\\y", Cp932FromUtf8("表示"),
        "'); DROP TABLE slip_history; --", "abc"};
    for (const std::string& n : stored)
        store->Insert(Named(n));
    struct Case {
        std::string query;
        std::vector<std::string> found; // newest first: the order they were stored in, reversed
    } cases[] = {
        {"%", {Cp932FromUtf8("５０%引き")}},
        {"_", {"'); DROP TABLE slip_history; --", "a_b"}},
        {"'", {"'); DROP TABLE slip_history; --", "O'Brien"}},
        {"\\", {"x\\y"}}, // not 表示, whose second byte is 0x5C in CP932
        {"'); DROP TABLE slip_history; --", {"'); DROP TABLE slip_history; --"}},
        {"ABC", {"abc"}}, // letters without regard to case
        {"a%c", {}},
    };
    for (const Case& c : cases) {
        SearchQuery q;
        q.name = c.query;
        EXPECT_EQ(Names(store->Search(q)), c.found) << c.query;
    }
    EXPECT_EQ(store->Search({}).size(), stored.size());
}

TEST(StoreQueries, EachCriterionFindsItsRow) {
    auto store = FreshStore();
    HistoryRecord other = Named("other", "2024-06-01T09:00:00+09:00");
    other.values.Edit_Zip = "999-9999";
    other.values.Edit_tel = "099-999-9999";
    other.values.Edit_Add1 = Cp932FromUtf8("北海道");
    other.values.Edit_Add2 = other.values.Edit_Add3 = "";
    other.order = "B-2";
    store->Insert(other);
    std::int64_t id = store->Insert(Named("wanted"));
    store->SetTracking(id, "123456789012");

    auto only = [](auto set) {
        SearchQuery q;
        set(q);
        return q;
    };
    const std::pair<const char*, SearchQuery> cases[] = {
        {"phone by digits", only([](SearchQuery& q) { q.phone = "0612345678"; })},
        {"phone full-width", only([](SearchQuery& q) { q.phone = Cp932FromUtf8("１２３４－５６７８"); })},
        {"postcode", only([](SearchQuery& q) { q.postcode = "5300001"; })},
        {"address across lines", only([](SearchQuery& q) { q.address = Cp932FromUtf8("１丁目２番"); })},
        {"tracking", only([](SearchQuery& q) { q.tracking = "56789"; })},
        {"order", only([](SearchQuery& q) { q.order = "a-100"; })},
        {"days", only([](SearchQuery& q) { q.from = "2024/04/30", q.to = "2024-05-01"; })},
        {"all at once",
         only([](SearchQuery& q) { q.name = "ant", q.phone = "1234", q.from = "2024-05-01"; })},
    };
    for (const auto& [what, q] : cases)
        EXPECT_EQ(Names(store->Search(q)), std::vector<std::string>{"wanted"}) << what;
    SearchQuery bad;
    bad.from = "2024-02-30";
    EXPECT_THROW(store->Search(bad), history::EHistoryStore);
}

TEST(StoreQueries, TrackingNumbersAndTheNextRowWithoutOne) {
    auto store = FreshStore();
    std::int64_t a = store->Insert(Named("a", "2024-05-01T09:00:00+09:00"));
    std::int64_t b = store->Insert(Named("b", "2024-05-01T10:00:00+09:00"));
    std::int64_t c = store->Insert(Named("c", "2024-05-01T11:00:00+09:00"));

    struct Case {
        std::string typed, stored;
        bool warning;
    } cases[] = {
        {" 1234-5678-9012\r\n", "123456789012", false},
        {Cp932FromUtf8("１２３４５６７８９０１２"), "123456789012", false},
        {"4444 1375 8703", "444413758703", false}, // scanned in groups
        {"1234567890123", "1234567890123", true},  // a digit too many: no slip number of the carrier
        {"12345678901", "12345678901", true},
        {"ABC-1", "ABC-1", true},
        {"", "", false},
    };
    for (const Case& k : cases) {
        auto result = store->SetTracking(b, k.typed);
        EXPECT_EQ(result.stored, k.stored) << k.typed;
        EXPECT_EQ(result.warning, k.warning) << k.typed;
        EXPECT_EQ(store->Get(b)->tracking, k.stored) << k.typed;
    }
    EXPECT_THROW(store->SetTracking(c + 100, "123456789012"), history::EHistoryStore);

    // Down the newest-first list, skipping rows that have a number.
    store->SetTracking(b, "123456789012");
    EXPECT_EQ(store->NextUntracked(c), a);
    EXPECT_EQ(store->NextUntracked(a), std::nullopt);
}

TEST(StoreQueries, AReprintPointsToTheFirstPrintingAndShipsItsOrder) {
    auto store = FreshStore();
    std::int64_t first = store->Insert(SampleSlip());
    HistoryRecord again = SampleSlip("2024-05-01T10:00:00+09:00");
    again.order.clear();
    again.reprintOf = first;
    std::int64_t second = store->Insert(again);
    again.reprintOf = second;
    std::int64_t third = store->Insert(again);
    EXPECT_EQ(store->Get(second)->reprintOf, first);
    EXPECT_EQ(store->Get(third)->reprintOf, first);
    EXPECT_EQ(store->Get(third)->order, "A-1001");
    EXPECT_EQ(store->Get(third)->platform, "rakuten");
    EXPECT_EQ(store->Get(third)->refs, SampleSlip().refs);
    again.reprintOf = third + 100;
    EXPECT_THROW(store->Insert(again), history::EHistoryStore);
}

TEST(StoreQueries, AVoidMarkIsSetAndTakenBackOnItsRecordAlone) {
    auto store = FreshStore();
    std::int64_t spoiled = store->Insert(SampleSlip()), next = store->Insert(SampleSlip());
    store->MarkVoid(spoiled);
    EXPECT_EQ((std::vector{store->Get(spoiled)->isVoid, store->Get(next)->isVoid}),
              (std::vector{true, false}));
    store->MarkVoid(spoiled, false);
    EXPECT_FALSE(store->Get(spoiled)->isVoid);
    EXPECT_THROW(store->MarkVoid(next + 100), history::EHistoryStore);
}

TEST(StoreQueries, AnOrderIsKnownOnlyByItsExactReference) {
    auto store = FreshStore();
    store->Insert(SampleSlip());
    EXPECT_TRUE(store->HasOrder("A-1001"));
    for (const char* other : {"A-100", "a-1001", "A-1001 ", ""})
        EXPECT_FALSE(store->HasOrder(other)) << other;
}

TEST(StoreQueries, PrintedOrdersAnswerABatchOfReferencesAtOnce) {
    auto store = FreshStore();
    store->Insert(SampleSlip());
    std::vector<std::string> refs;
    for (int i = 0; i < 2500; ++i) // the one printed comes in the third query's share
        refs.push_back("B-" + std::to_string(i));
    refs.insert(refs.end(), {"A-100", "A-1001", "a-1001"});
    EXPECT_EQ(store->PrintedOrders(refs), std::unordered_set<std::string>{"A-1001"});
    EXPECT_TRUE(store->PrintedOrders({}).empty());
}

TEST(StoreQueries, TheShippedSlipsAreOnePerParcelOfTheirDaysWithTheVoidOnesApart) {
    auto store = FreshStore();
    HistoryRecord jammed = SampleSlip("2024-05-01T09:00:00+09:00"); // ships 2024-05-02
    std::int64_t first = store->Insert(jammed);
    store->SetTracking(first, "111111111111");
    HistoryRecord reprint = SampleSlip("2024-05-01T09:05:00+09:00");
    reprint.order.clear(); // it ships the first printing's order, platform and IDs
    reprint.refs.clear();
    reprint.reprintOf = first;
    store->SetTracking(store->Insert(reprint), "222222222222");
    reprint.time = "2024-05-01T09:10:00+09:00"; // a second reprint, its number not yet scanned
    store->Insert(reprint);
    HistoryRecord spoiled = Named("spoiled", "2024-05-02T10:00:00+09:00");
    spoiled.tracking = "333333333333";
    spoiled.isVoid = true;
    store->Insert(spoiled);
    HistoryRecord undated = Named("undated", "2024-05-03T18:00:00+09:00"); // no date: ships the day printed
    undated.values.CheckBox_Date_1 = false;
    undated.order = "A-2";
    undated.platform.clear();
    store->Insert(undated);
    HistoryRecord later = Named("later", "2024-05-01T09:00:00+09:00");
    later.values.DateTimePicker_1 = "2024/05/09";
    store->Insert(later);

    const auto slips = history::ShippedSlips(*store, "2024-05-02", "2024/05/03");
    using Row =
        std::tuple<std::string, std::string, std::string, std::string, bool, std::string, std::int64_t>;
    std::vector<Row> rows;
    for (const shipped::ShippedSlip& s : slips)
        rows.emplace_back(s.order, s.platform, s.tracking, s.shipDay, s.isVoid, s.consignee, s.printedUtc);
    EXPECT_EQ(rows, (std::vector<Row>{
                        {"A-1001", "rakuten", "222222222222", "2024-05-02", false, jammed.values.Edit_Custo1,
                         1714521900},
                        {"A-1001", "rakuten", "333333333333", "2024-05-02", true, "spoiled", 1714611600},
                        {"A-2", "", "", "2024-05-03", false, "undated", 1714726800},
                    }));
    EXPECT_EQ(slips.at(0).refs, SampleSlip().refs);
    EXPECT_EQ(slips.at(0).record, first + 1);
    EXPECT_EQ(history::ShippedSlips(*store, "", "").size(), 4u); // open days: "later" too
    EXPECT_THROW(history::ShippedSlips(*store, "2024-05-32", ""), history::EHistoryStore);
}
