# Whole processes as a user meets them: kerv opening 100 MB (to its first
# painted screen, offscreen) and kervtext convert beside iconv, with peaks.
if(TARGET kerv AND TARGET kervtext)
  kerv_add_bench(bench_process
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_process.cpp
    LIBS kerv_document kerv_platform)
  add_dependencies(bench_process kerv kervtext)
endif()
