target_sources(zaridi_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CommandLine.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ErrorBox.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KeyboardFlowHandlers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LimitedLineEdit.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowShell.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MessageBoxes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PostcodeImportCommand.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SenderRegistry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ZaridiApplication.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tavo_dprintUnit.cpp
)
