# Character codes: detection, the conversions in both directions and the
# document round trip, and the code page tables checked against iconv itself.
kerv_add_fuzzer(fuzz_codes_detect SOURCES fuzz_codes_detect.cpp LIBS kerv_document kerv_platform)
kerv_add_fuzzer(fuzz_codes_convert SOURCES fuzz_codes_convert.cpp LIBS kerv_document kerv_platform_fake kerv_platform)
kerv_add_fuzzer(fuzz_codes_codepage SOURCES fuzz_codes_codepage.cpp LIBS kerv_platform)
# The piece-by-piece conversion and detection (kervtext convert) against the whole-input ones.
kerv_add_fuzzer(fuzz_codes_stream SOURCES fuzz_codes_stream.cpp LIBS kerv_document kerv_platform)
