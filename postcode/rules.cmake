# The official files come zipped; libzip reads them in a library of its own that only the import loads.
# (pkg-config: Debian's CMake files for libzip want its tools installed.)
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)
zaridi_late_library(zaridi_zip SOURCES ${CMAKE_CURRENT_LIST_DIR}/ZipCsvReader.cpp LIBS PkgConfig::LIBZIP)
