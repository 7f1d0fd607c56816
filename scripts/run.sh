#!/bin/sh
# Installs what is missing, builds, and opens the editor on a file (default: the Shift_JIS sample).
set -e
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
sh scripts/build.sh build
file="${1:-samples/sample-sjis.txt}"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display found; starting the editor under Xvfb (xvfb-run)" >&2
  exec xvfb-run -a -s "-screen 0 1280x800x24" build/app/kerv "$file"
fi
exec build/app/kerv "$file"
