#pragma once
// The columns of slip_history that a record is written to and read back from, in one table: the INSERT,
// its parameters, the SELECT and the row reader are all built from it, so they cannot disagree on the
// order or the number of columns.
#include "history/HistoryRecord.h"
#include "history/SqlDb.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace history::columns {

// What an insert writes besides the record's own values; the store works it out.
struct Derived {
    std::int64_t utcSeconds = 0;
    std::string localDay, shipDay; // "yyyy-MM-dd"
    SqlParam reprintOf;            // the first printing's id, or NULL
};

// The select list: every column a record is read from, in the order ReadRow takes them.
const std::string& SelectList();

// "INSERT INTO slip_history (…) VALUES ($1, …) ON CONFLICT (uuid) DO NOTHING RETURNING id" and its
// parameters for one record.
const std::string& InsertStatement();
std::vector<SqlParam> InsertParams(const HistoryRecord& record, const Derived& derived);

// A row of SelectList as a record. EAssertionFailed when the row has another number of values.
HistoryRecord ReadRow(const SqlRow& row);

// Column values as the store writes and reads them: integers, and CP932 texts stored as UTF-8.
inline std::int64_t ToInt(const std::optional<std::string>& v) {
    return v ? std::stoll(*v) : 0;
}
std::string Cp(const std::optional<std::string>& v);
SqlParam TextOrNull(const std::string& cp); // NULL for an empty text

} // namespace history::columns
