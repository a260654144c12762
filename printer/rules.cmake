target_sources(zaridi_rules PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/HqAllPrintersInfo.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HqPrinter.cpp
)
