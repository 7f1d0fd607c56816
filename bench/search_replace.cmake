# The search command on a 100 MB document: Find Next near the caret and for an
# absent word (plain and regular expression), replace-all of 100,000 hits and its undo.
kerv_add_bench(bench_search_replace SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_search_replace.cpp
               LIBS kerv_app_core kerv_platform_fake)
