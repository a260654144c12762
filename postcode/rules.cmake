# The index carries a CRC-32 (zlib) of itself.
find_package(ZLIB REQUIRED)
target_link_libraries(zaridi_rules PUBLIC ZLIB::ZLIB)
# The official files come zipped; libzip reads them in a library of its own that only the import loads.
# (pkg-config: Debian's CMake files for libzip want its tools installed.)
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)
zaridi_late_library(zaridi_zip SOURCES ${CMAKE_CURRENT_LIST_DIR}/ZipCsvReader.cpp LIBS PkgConfig::LIBZIP)
