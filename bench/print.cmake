# Printing: laying out 1 MB of Japanese text (about 14,000 lines) into
# recorded pages through a fixed-width measurer.
kerv_add_bench(bench_print SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_print.cpp LIBS kerv_print kerv_platform)
