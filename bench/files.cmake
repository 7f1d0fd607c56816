# Documents: open and save of a 100 MB file through the window's file manager,
# with the peak memory and the kernel's share of the time.
kerv_add_bench(bench_files
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_files.cpp
  LIBS kerv_app_core kerv_platform_fake kerv_platform)
