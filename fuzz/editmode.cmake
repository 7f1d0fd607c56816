# The edit-mode readers: damaged and hostile .em2 files, and the same bytes as an editmode.ini.
kerv_add_fuzzer(fuzz_editmode SOURCES fuzz_editmode.cpp LIBS kerv_editmode)
