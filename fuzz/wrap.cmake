# Line cutting: random text and options.
kerv_add_fuzzer(fuzz_wrap SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_wrap.cpp LIBS kerv_editor)
