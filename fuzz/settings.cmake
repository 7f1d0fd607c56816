# The settings store: any bytes as kerv.ini, loaded, saved and loaded again.
kerv_add_fuzzer(fuzz_settings SOURCES fuzz_settings.cpp LIBS kerv_app_core kerv_platform_fake)
