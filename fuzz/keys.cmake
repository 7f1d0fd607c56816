# Key sets and the tool list: any bytes as a .tks file and as kervtool.ini.
kerv_add_fuzzer(fuzz_keyset SOURCES fuzz_keyset.cpp LIBS kerv_keys kerv_platform_fake)
