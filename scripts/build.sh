#!/bin/sh
# Configures and builds one build tree. Usage: scripts/build.sh [BUILD_DIR] [cmake options...]
set -e
cd "$(dirname "$0")/.."
dir="${1:-build}"
[ $# -gt 0 ] && shift
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKERV_WERROR=ON "$@" >/dev/null
cmake --build "$dir"
