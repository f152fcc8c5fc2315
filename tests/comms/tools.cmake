# Tests of the panel link tools: download lines, the text download window's
# logic, the serial port setup dialog.
px10_add_test(comms_tools_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DownloadLinesTest.cpp ${CMAKE_CURRENT_LIST_DIR}/TextDownloadTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SerialSetupTest.cpp
  LIBS comms_tools test_support qt_test_main Qt6::Widgets)

# The downloads against the simulated panel with its event log and readings.
px10_add_test(download_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DownloadTest.cpp ${PROJECT_SOURCE_DIR}/tests/support/PanelRecords.cpp
  LIBS comms config test_support Qt6::Core)
target_compile_options(download_tests PRIVATE -Wno-missing-field-initializers)
