# Character codes: detection and every conversion, beside iconv.
kerv_add_bench(bench_codes
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_codes.cpp
  LIBS kerv_document kerv_platform_fake kerv_platform)
