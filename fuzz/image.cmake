# The converter's settings readers (.tgs records, .tg2 files and its kerv.ini
# section) and the JPEG decoder of background pictures: damaged and hostile input.
kerv_add_fuzzer(fuzz_image_tgs SOURCES fuzz_image_tgs.cpp fuzz_image_checks.cpp LIBS kerv_image kerv_platform_fake)
kerv_add_fuzzer(fuzz_image_tg2 SOURCES fuzz_image_tg2.cpp fuzz_image_checks.cpp LIBS kerv_image kerv_platform_fake)
kerv_add_fuzzer(fuzz_image_jpeg SOURCES fuzz_image_jpeg.cpp LIBS kerv_image)
