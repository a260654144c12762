# The PDF compaction inflates and deflates streams.
find_package(ZLIB REQUIRED)
target_link_libraries(zaridi_rules PUBLIC ZLIB::ZLIB)
# The CUPS back end: loaded when the printer object is first made, after the first paint.
file(GLOB cups_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/qt/Cups*.cpp ${CMAKE_CURRENT_LIST_DIR}/qt/Cups*.h)
zaridi_late_library(zaridi_cups SOURCES ${cups_sources} LIBS zaridi_gui Cups::Cups)
