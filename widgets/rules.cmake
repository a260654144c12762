target_sources(zaridi_rules PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/KyNumText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KyNumFormat.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KyNumLayout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KyNumEditModel.cpp
)
