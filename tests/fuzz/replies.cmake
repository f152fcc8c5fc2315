# Reply payloads of every configuration item, and the download lines built from them.
px10_add_fuzz(replies SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/RepliesFuzz.cpp LIBS comms config)
