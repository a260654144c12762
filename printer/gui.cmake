target_sources(zaridi_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CupsPrinter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CupsQueue.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HqPrinterInstance.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PdfCanvas.cpp
)
target_sources(zaridi_gui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/HqPrinterDialogs.cpp)
