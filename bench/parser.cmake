# The attribute parser over generated source code and Japanese prose.
kerv_add_bench(bench_parser SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_parser.cpp LIBS kerv_editor)
