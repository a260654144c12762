target_sources(zaridi_rules PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/AddressWarning.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Compact.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Judge.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Split.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Strip.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Transfer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ZipTel.cpp
)
