#pragma once
// What the store's query tests run on. Each program that compiles store_queries_test.cpp defines
// FreshStore: an empty store on SQLite (unit_history) or on the private PostgreSQL (pg_tests).
#include "history/HistoryStore.h"
#include "history/SqlDb.h"
#include "history/StoreSchema-private.h"
#include "unit/support/Sjis.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

std::unique_ptr<history::Store> FreshStore();

// Why the store at `where` cannot be opened and read.
inline history::EHistoryStore::Kind KindOfOpening(const history::StoreLocation& where) {
    try {
        history::OpenStore(where)->Search({});
    } catch (const history::EHistoryStore& e) {
        return e.GetKind();
    }
    ADD_FAILURE() << "opened";
    return history::EHistoryStore::Kind::BadRequest;
}

// A full slip as a desk prints it; tests change what they look at.
inline history::HistoryRecord SampleSlip(const std::string& time = "2024-05-01T09:30:00+09:00") {
    history::HistoryRecord r;
    r.time = time;
    r.printer = "dotmatrix";
    r.resolutionX = 360;
    r.resolutionY = 180;
    r.marginTop = -14;
    r.marginLeft = 7;
    slip::Record& v = r.values;
    v.ComboBox_SEL = Cp932FromUtf8("連続(４インチ)");
    v.Edit_Zip = "530-0001";
    v.Edit_Add1 = Cp932FromUtf8("大阪府大阪市北区梅田１丁目");
    v.Edit_Add2 = Cp932FromUtf8("２番３号　第３ビル");
    v.Edit_Add3 = Cp932FromUtf8("１２階");
    v.Edit_Custo1 = Cp932FromUtf8("株式会社　髙橋商店①　御中");
    v.Edit_tel = "06-1234-5678";
    v.Edit_G1 = Cp932FromUtf8("衣料品");
    v.Edit_G2 = Cp932FromUtf8("精密機器～取扱注意");
    v.Edit_G3 = "";
    v.KyNumEdit_KOSUU = "2";
    v.KyNumEdit_PriceSub = "12345";
    v.KyNumEdit_TaxSub = "1122";
    v.CheckBox_p2 = true;
    v.CheckBox_My = true;
    v.Edit_MyZip = "100-0001";
    v.Edit_MyADD1 = Cp932FromUtf8("東京都千代田区千代田１－１");
    v.Edit_MyADD2 = Cp932FromUtf8("表示ビル");
    v.Edit_My = Cp932FromUtf8("有限会社　タヴォ");
    v.Edit_MyTEL = "03-0000-0000";
    v.CheckBox_Date_1 = true;
    v.DateTimePicker_1 = "2024/05/02";
    r.order = "A-1001";
    r.platform = "rakuten";
    r.refs = {{Cp932FromUtf8("送付先ID"), "1001"}, {Cp932FromUtf8("商品明細ID"), "200000001,200000002"}};
    r.delivery = {"2024-05-03", Cp932FromUtf8("14-16時")};
    r.changed = {"Edit_Custo1", "KyNumEdit_PriceSub"};
    return r;
}

// A database as a program of schema `version` left it, holding one slip (an order reference, a number).
inline void LeaveAtVersion(history::SqlDb& db, int version) {
    db.BeginExclusive();
    for (int step = 1; step <= version; ++step)
        db.Script(history::schema::Step(step, db));
    db.Query("INSERT INTO slip_history (uuid, printed_at, printed_utc, printed_day, ship_day, printer, "
             "resolution_x, resolution_y, margin_top, margin_left, Edit_Custo1, zip_digits, tel_digits, "
             "tracking, order_ref) VALUES ('0b7f3c1e-6a52-4d0e-9c1a-3f8e2d4b5a69', "
             "'2024-05-01T09:30:00+09:00', 1714523400, '2024-05-01', '2024-05-01', 'dotmatrix', 180, 180, 0, "
             "0, 'old', '', '', '512547514334', 'A-1')",
             {});
    db.SetSchemaVersion(version);
    db.Script("COMMIT");
}

// A database of an older `version` opened as a store: it is migrated, its slip reads back without what
// came later (platform, IDs, void mark; the delivery asked for and the changed fields), and the new
// columns take values.
inline void ExpectMigratedFrom(int version, history::SqlDb& db,
                               const std::function<std::unique_ptr<history::Store>()>& open) {
    SCOPED_TRACE("from version " + std::to_string(version));
    LeaveAtVersion(db, version);
    auto store = open();
    EXPECT_EQ(db.SchemaVersion(), history::kSchemaVersion);
    auto rows = store->Search({});
    ASSERT_EQ(rows.size(), 1u);
    const history::HistoryRecord& old = rows[0];
    EXPECT_EQ((std::vector<std::string>{old.values.Edit_Custo1, old.order, old.tracking, old.platform,
                                        old.delivery.day, old.delivery.time}),
              (std::vector<std::string>{"old", "A-1", "512547514334", "", "", ""}));
    EXPECT_TRUE(old.refs.empty());
    EXPECT_TRUE(old.changed.empty());
    EXPECT_FALSE(old.isVoid);
    store->MarkVoid(old.id);
    EXPECT_TRUE(store->Get(old.id)->isVoid);
    history::HistoryRecord slip = SampleSlip();
    const auto id = store->Insert(slip);
    slip.id = id;
    slip.uuid = store->Get(id)->uuid;
    EXPECT_EQ(store->Get(id), slip);
}

// A query with a parameter it has no place for, or a place without its parameter, is refused, not run.
inline void ExpectParametersNeedTheirPlaces(history::SqlDb& db) {
    const struct {
        const char* sql;
        std::vector<history::SqlParam> params;
        bool runs;
    } cases[] = {
        {"SELECT $1, $2", {std::int64_t{1}, std::string("a")}, true},
        {"SELECT $1 WHERE $1 = $1", {std::int64_t{1}}, true},
        {"SELECT $1", {std::int64_t{1}, std::int64_t{2}}, false},
        {"SELECT $1, $2", {std::int64_t{1}}, false},
        {"SELECT $2", {std::int64_t{1}, std::int64_t{2}}, false},
    };
    for (const auto& c : cases) {
        bool ran = true;
        try {
            db.Query(c.sql, c.params);
        } catch (const history::EHistoryStore&) {
            ran = false;
        }
        EXPECT_EQ(ran, c.runs) << c.sql << " with " << c.params.size();
    }
}
