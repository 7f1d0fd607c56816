#!/bin/sh
# Copies files somewhere
set -e
target="${1:-/tmp}"
for f in *.txt; do
  if [ -f "$f" ]; then
    echo 'copying' "$f" to $target
    cp "$f" "$target"
  fi
done
exit 0
