# The editor's document search, clipboard copy and paste, and box paste.
kerv_add_bench(bench_editor_search SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_editor_search.cpp LIBS kerv_editor kerv_platform)
