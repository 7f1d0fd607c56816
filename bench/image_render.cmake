# Text to image drawn with Qt: a 2000 × 2000 page rendered and written as
# PNG, and a continuous conversion of 1000 lines in process and as a whole
# kervtext-render process.
if(KERV_GUI AND TARGET kerv_image_qt)
  kerv_add_bench(bench_image_render SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_image_render.cpp
                 LIBS kerv_image_qt kerv_platform_fake kerv_platform Qt6::Gui)
  if(TARGET kervtext-render)
    target_compile_definitions(bench_image_render PRIVATE KERVTEXT_RENDER_PATH="$<TARGET_FILE:kervtext-render>")
    add_dependencies(bench_image_render kervtext-render)
  endif()
endif()
