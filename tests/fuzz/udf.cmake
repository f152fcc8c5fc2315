px10_add_fuzz(udf SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/UdfFuzz.cpp LIBS config)
