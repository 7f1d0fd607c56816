# The editor control's model: keystrokes, caret moves, whole-document and box edits.
kerv_add_bench(bench_editor SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_editor.cpp LIBS kerv_editor)
