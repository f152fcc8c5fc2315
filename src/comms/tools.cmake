# The tools of the panel link: serial port setup, the event log and device
# data downloads with their window, and the device logger.
target_sources(comms PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Downloadlines.h ${CMAKE_CURRENT_LIST_DIR}/Downloadlines.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Textdownload.h ${CMAKE_CURRENT_LIST_DIR}/Textdownload.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Paneldownload.cpp
)
# The windows: Qt Widgets and the spin control of the editors.
add_library(comms_tools STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Serialsetupform.h ${CMAKE_CURRENT_LIST_DIR}/Serialsetupform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Textdownloadform.h ${CMAKE_CURRENT_LIST_DIR}/Textdownloadform.cpp
)
set_target_properties(comms_tools PROPERTIES AUTOMOC ON)
target_include_directories(comms_tools PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(comms_tools PUBLIC comms comms_gui editors Qt6::Widgets)
