target_sources(zaridi_rules PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/Conversions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Cp932.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Cp932Codec.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FileIO.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HalfWidth.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ProfileFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RuntimeErrors.cpp
)
