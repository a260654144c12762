target_sources(zaridi_rules PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/KeyboardFlow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainSettings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SenderFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SupportLinks.cpp
)
