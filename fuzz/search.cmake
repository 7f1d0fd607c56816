# Byte-string search.
kerv_add_fuzzer(fuzz_search_buffer SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_search_buffer.cpp LIBS kerv_search kerv_regex)
