# The text engine: loading, assembly, cutting, edits, line lookup, wrapping, undo.
kerv_add_bench(bench_textengine SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_textengine.cpp LIBS kerv_editor)
