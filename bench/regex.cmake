# Regular-expression engine: compiling, and matching generated Japanese text line by line.
kerv_add_bench(bench_regex SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_regex.cpp LIBS kerv_regex kerv_platform)
