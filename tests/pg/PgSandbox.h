#pragma once
// The private server that scripts/pg-sandbox runs for these tests: ZARIDI_PG_DIR names its folder,
// which is also its socket directory. The superuser "zaridi" logs in without a password.
#include "history/SqlDb.h"

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <unistd.h>

inline std::string PgDir() {
    const char* dir = std::getenv("ZARIDI_PG_DIR");
    if (!dir || !*dir)
        throw std::runtime_error("ZARIDI_PG_DIR is not set: run under ctest or scripts/pg-sandbox");
    return dir;
}

inline history::PgParams PgAs(const std::string& user, const std::string& database) {
    return {{"host", PgDir()}, {"port", "5432"}, {"user", user}, {"dbname", database}};
}

inline std::unique_ptr<history::SqlDb> PgAdmin(const std::string& database = "postgres") {
    return history::OpenPostgres(PgAs("zaridi", database));
}

// A name no other test of any run uses.
inline std::string UniqueName(const char* prefix) {
    static int n = 0;
    return prefix + std::to_string(::getpid()) + "_" + std::to_string(++n);
}

// A new, empty database owned by `owner`.
inline std::string NewDatabase(const std::string& owner = "zaridi") {
    std::string name = UniqueName("t");
    PgAdmin()->Script("CREATE DATABASE " + name + " OWNER " + owner);
    return name;
}
