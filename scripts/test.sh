#!/bin/sh
# Installs what is missing, builds and runs every test. Usage: scripts/test.sh [--asan]
set -e
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
if [ "${1:-}" = "--asan" ]; then
  sh scripts/build.sh build-asan -DKERV_SANITIZE=ON -DKERV_BENCH=OFF
  cd build-asan
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS="suppressions=$(pwd)/../tests/lsan.supp"
else
  sh scripts/build.sh build
  cd build
fi
ctest --output-on-failure -j2
