target_sources(zaridi_rules PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CashOnDelivery.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EffectiveResolution.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PrinterRegistration.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SlipCanvas.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SlipLayout.cpp
)
