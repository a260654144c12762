#pragma once
// The history's schema, step by step: each step takes the database from the version before it to its
// own (kSchemaVersion is the last); a fresh database runs them all, in one exclusive transaction.
#include "history/SqlDb.h"

#include <string>

namespace history::schema {

// The statements of step `version` (1 to kSchemaVersion) for this database.
std::string Step(int version, const SqlDb& db);

} // namespace history::schema
