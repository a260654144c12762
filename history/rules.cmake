# The history of printed slips: SQLite and PostgreSQL through their C libraries.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SQLITE3 REQUIRED IMPORTED_TARGET sqlite3)
pkg_check_modules(LIBPQ REQUIRED IMPORTED_TARGET libpq)
target_link_libraries(zaridi_rules PRIVATE PkgConfig::SQLITE3 PkgConfig::LIBPQ)
