# Image writing: PNG, JPEG and the four BMP depths of a 1920 × 1080 text-like
# image, the colour reductions, a 2000 × 2000 page and 1000 one-line images.
kerv_add_bench(bench_image SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench_image.cpp LIBS kerv_image kerv_platform_fake)
