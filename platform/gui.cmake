target_sources(zaridi_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/QtText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SingleInstance.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TerminationSignals.cpp
)
