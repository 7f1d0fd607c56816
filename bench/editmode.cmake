# Edit-mode associations: reading a huge (damaged or generated) editmode.ini.
kerv_add_bench(bench_editmode SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_editmode.cpp LIBS kerv_editmode)
