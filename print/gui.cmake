target_sources(zaridi_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CashOnDeliveryHandlers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PrinterGroupHandlers.cpp
)
