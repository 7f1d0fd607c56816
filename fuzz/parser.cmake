# The attribute parser: random rows under random view options.
kerv_add_fuzzer(fuzz_parser SOURCES fuzz_parser.cpp LIBS kerv_editor)
