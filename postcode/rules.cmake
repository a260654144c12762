# The official files come zipped. (pkg-config: Debian's CMake files for libzip want its tools installed.)
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)
target_sources(zaridi_rules PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/Check.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Code.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Import.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Index.cpp
    ${CMAKE_CURRENT_LIST_DIR}/IndexBuilder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Messages.cpp
)
target_link_libraries(zaridi_rules PRIVATE PkgConfig::LIBZIP)
