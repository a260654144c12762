target_sources(zaridi_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CashOnDeliveryHandlers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Hq_d97Y_DotUnit.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PrintJob.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PrinterGroupHandlers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SLIP97YPrnUnit.cpp
)
