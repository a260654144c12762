#include "history/StoreSchema-private.h"

#include "history/HistoryStore.h"
#include "history/QueueTable-private.h"
#include "slip/SlipRecord.h"

namespace history::schema {
namespace {

// Version 1: the table, one column for each field of the slip.
std::string Table(const SqlDb& db) {
    std::string values;
    for (const slip::Field& f : slip::kFields)
        values += std::string("    ") + f.name +
                  (f.text ? " TEXT NOT NULL DEFAULT ''" : " SMALLINT NOT NULL DEFAULT 0") + ",\n";
    return "CREATE TABLE slip_history (\n"
           "    id " +
           std::string(db.IdColumnType()) +
           ",\n"
           "    uuid TEXT NOT NULL UNIQUE,\n"
           "    printed_at TEXT NOT NULL,\n"
           "    printed_utc BIGINT NOT NULL,\n"
           "    printed_day TEXT NOT NULL,\n"
           "    ship_day TEXT NOT NULL,\n"
           "    printer TEXT NOT NULL,\n"
           "    resolution_x INTEGER NOT NULL,\n"
           "    resolution_y INTEGER NOT NULL,\n"
           "    margin_top INTEGER NOT NULL,\n"
           "    margin_left INTEGER NOT NULL,\n" +
           values +
           "    zip_digits TEXT NOT NULL,\n"
           "    tel_digits TEXT NOT NULL,\n"
           "    tracking TEXT,\n"
           "    order_ref TEXT,\n"
           "    reprint_of BIGINT REFERENCES slip_history (id)\n"
           ")";
}

// Version 2: the indexes behind the list's order, the day ranges, the order import's question and the
// scan's "next row without a number". Where entries may be long, the list's index carries every
// searched column, so a search reads it in the list's order, narrower than the table, and stops at a
// page of matches.
std::string Indexes(const SqlDb& db) {
    std::string list = db.WideIndexes()
                           ? "printed_utc, id, printed_day, Edit_Custo1, Edit_Add1, Edit_Add2, "
                             "Edit_Add3, Edit_Zip, Edit_tel, zip_digits, tel_digits, tracking, order_ref"
                           : "printed_utc, id";
    return "CREATE INDEX slip_history_time ON slip_history (" + list +
           ");\n"
           "CREATE INDEX slip_history_printed_day ON slip_history (printed_day);\n"
           "CREATE INDEX slip_history_ship_day ON slip_history (ship_day);\n"
           "CREATE INDEX slip_history_order ON slip_history (order_ref);\n"
           "CREATE INDEX slip_history_reprint ON slip_history (reprint_of);\n"
           "CREATE INDEX slip_history_untracked ON slip_history (printed_utc, id) WHERE tracking IS NULL";
}

// Version 3: the order's shop platform and its IDs go with the slip to the shipped files (refs: a JSON
// object, HistoryRecord's RefsToJson); a spoiled or skipped slip of a pre-printed stack keeps its
// number with a void mark.
std::string PlatformAndVoid(const SqlDb&) {
    return "ALTER TABLE slip_history ADD COLUMN platform TEXT;\n"
           "ALTER TABLE slip_history ADD COLUMN refs TEXT;\n"
           "ALTER TABLE slip_history ADD COLUMN void SMALLINT NOT NULL DEFAULT 0";
}

// Version 5: what an order asked for and what the clerk changed of it go with its slip.
std::string DeliveryAndChanges(const SqlDb&) {
    return "ALTER TABLE slip_history ADD COLUMN delivery_day TEXT;\n"
           "ALTER TABLE slip_history ADD COLUMN delivery_time TEXT;\n"
           "ALTER TABLE slip_history ADD COLUMN changed_fields TEXT";
}

} // namespace

std::string Step(int version, const SqlDb& db) {
    using StepFn = std::string (*)(const SqlDb&);
    // Version 4: the order queue the desks share, beside the slips (history/QueueStore.cpp).
    static constexpr StepFn kSteps[] = {Table, Indexes, PlatformAndVoid, queue_table::SchemaStep,
                                        DeliveryAndChanges};
    static_assert(std::size(kSteps) == kSchemaVersion, "a step for each schema version");
    return kSteps[version - 1](db);
}

} // namespace history::schema
