# The editor control on screen: painting a screen, opening a big file until
# its first screen is painted, paging and typing into a very long line.
if(KERV_GUI)
  kerv_add_bench(bench_ui SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_ui.cpp LIBS kerv_ui kerv_document kerv_platform_qt kerv_platform kerv_platform_fake)
endif()
