# The history of printed slips: SQLite and PostgreSQL through their C libraries. libpq and what it brings
# (TLS, Kerberos, LDAP) are loaded only when a history on a server is first opened (history/OpenPostgres).
find_package(PkgConfig REQUIRED)
pkg_check_modules(SQLITE3 REQUIRED IMPORTED_TARGET sqlite3)
pkg_check_modules(LIBPQ REQUIRED IMPORTED_TARGET libpq)
target_link_libraries(zaridi_rules PRIVATE PkgConfig::SQLITE3)
zaridi_late_library(zaridi_pq SOURCES ${CMAKE_CURRENT_LIST_DIR}/PostgresDb.cpp LIBS zaridi_rules PkgConfig::LIBPQ)
# The platform IDs of an order are kept as a JSON object (history/HistoryRecord).
find_package(nlohmann_json 3 REQUIRED)
target_link_libraries(zaridi_rules PRIVATE nlohmann_json::nlohmann_json)
