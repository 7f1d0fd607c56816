#!/bin/sh
# Builds every fuzz target with clang and runs each for SECONDS (default 60).
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -e
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh fuzz
seconds="${1:-60}"
[ $# -gt 0 ] && shift
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKERV_FUZZ=ON >/dev/null
cmake --build build-fuzz
targets="$*"
if [ -z "$targets" ]; then
  targets=$(cd build-fuzz/fuzz && ls | grep '^fuzz_' | grep -v '\.' || true)
fi
mkdir -p fuzz-corpus-work
status=0
for t in $targets; do
  work="fuzz-corpus-work/$t"
  mkdir -p "$work"
  # New inputs go to the work folder; the committed seeds are read only.
  echo "== $t ($seconds s)"
  if ! build-fuzz/fuzz/"$t" -max_total_time="$seconds" -print_final_stats=1 "$work" "fuzz/corpus/$t" 2>&1 | tail -n 12; then
    status=1
  fi
done
exit $status
