# The edit-mode file reader: damaged and hostile .em2 files.
kerv_add_fuzzer(fuzz_editmode SOURCES fuzz_editmode.cpp LIBS kerv_editmode)
