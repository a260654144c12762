target_sources(zaridi_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/KyNumEdit.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KyNumEdit.h
)
