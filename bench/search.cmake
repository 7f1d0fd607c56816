# Byte-string search: rows as the painter hands them, and bulk scans as grep does.
# bench_search --write-japanese-text PATH writes the 100 MB text scripts/bench-grep.sh uses.
kerv_add_bench(bench_search SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_search.cpp LIBS kerv_search kerv_regex kerv_platform)
