# The official files come zipped. (pkg-config: Debian's CMake files for libzip want its tools installed.)
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)
target_link_libraries(zaridi_rules PRIVATE PkgConfig::LIBZIP)
