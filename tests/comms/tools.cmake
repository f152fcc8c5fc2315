# Tests of the panel link tools: download lines, the text download window's
# logic, the serial port setup dialog.
px10_add_test(comms_tools_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DownloadLinesTest.cpp ${CMAKE_CURRENT_LIST_DIR}/TextDownloadTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SerialSetupTest.cpp ${CMAKE_CURRENT_LIST_DIR}/ToolsTestMain.cpp
  LIBS comms_tools test_support Qt6::Widgets)
