# Text formatting: width and kana conversions, tabs and line commands on the
# 100 MB Japanese text, and sorting its million lines; the same commands
# applied through the editor model as one undo step.
kerv_add_bench(bench_format SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_format.cpp LIBS kerv_format kerv_editor)
