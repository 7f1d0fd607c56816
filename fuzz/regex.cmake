# Regular-expression engine: syntax (scanner, pre-processor, parser) and matching.
kerv_add_fuzzer(fuzz_regex_parse SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_regex_parse.cpp LIBS kerv_regex)
kerv_add_fuzzer(fuzz_regex_match SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_regex_match.cpp LIBS kerv_regex)
