#!/bin/sh
# Builds the benchmarks optimised and runs them. Usage: scripts/bench.sh [BENCH_NAME...] [-- benchmark flags]
set -e
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKERV_GUI=ON -DKERV_TESTS=OFF -DKERV_BENCH=ON -DKERV_WERROR=ON >/dev/null
cmake --build build-bench
names=""
while [ $# -gt 0 ] && [ "$1" != "--" ]; do names="$names $1"; shift; done
[ "${1:-}" = "--" ] && shift
if [ -z "$names" ]; then
  names=$(cd build-bench/bench && ls | grep '^bench_' | grep -v '\.' || true)
fi
for b in $names; do
  echo "== $b"
  build-bench/bench/"$b" "$@"
done
