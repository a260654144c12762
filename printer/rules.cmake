# The PDF compaction inflates and deflates streams.
find_package(ZLIB REQUIRED)
target_link_libraries(zaridi_rules PUBLIC ZLIB::ZLIB)
