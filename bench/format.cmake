# Text formatting: width and kana conversions, tabs and line commands on the
# 100 MB Japanese text, and sorting its million lines.
kerv_add_bench(bench_format SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_format.cpp LIBS kerv_format)
