target_sources(zaridi_rules PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/OrderCleaning.cpp
    ${CMAKE_CURRENT_LIST_DIR}/OrderColumns.cpp
    ${CMAKE_CURRENT_LIST_DIR}/OrderFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/OrderText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Orders.cpp
)
