# Where the package installs the late libraries, under the prefix; the programs, in <prefix>/bin, find
# them from there (platform/LateLibrary.cpp). A private folder under the multiarch one, out of the
# linker's search path.
set(ZARIDI_PRIVATE_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE}/tavo_Zaridi2)
string(REPLACE "//" "/" ZARIDI_PRIVATE_LIBDIR ${ZARIDI_PRIVATE_LIBDIR})
set_property(SOURCE ${CMAKE_CURRENT_LIST_DIR}/LateLibrary.cpp APPEND PROPERTY
    COMPILE_DEFINITIONS ZARIDI_PRIVATE_LIBDIR="../${ZARIDI_PRIVATE_LIBDIR}")
target_link_libraries(zaridi_rules PUBLIC ${CMAKE_DL_LIBS})
