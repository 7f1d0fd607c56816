# Printing with Qt's fonts: 1 MB laid out with the real measurer, kervtext
# print of it to a PDF as a whole process, and the preview's first page of a
# 100 MB document from the editor's rows to the drawn page.
if(KERV_GUI)
  kerv_add_bench(bench_print_qt SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_print_qt.cpp
                 LIBS kerv_app_dialogs kerv_platform_qt_print kerv_editor kerv_platform)
  target_compile_definitions(bench_print_qt PRIVATE KERVTEXT_PATH="$<TARGET_FILE:kervtext>")
  add_dependencies(bench_print_qt kervtext kervtext-render)
endif()
