// Writes the shipped edit modes and their editmode.ini into a folder:
//   kerv_editmode_gen <folder>
// Run it over editmode/modes/ after changing ShippedModes.cpp.

#include <cstdio>
#include <exception>

#include "editmode/ShippedModes.h"
#include "platform/posix/PosixFileSystem.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  try {
    kerv::PosixFileSystem fs;
    kerv::WriteShippedModes(fs, argv[1]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
