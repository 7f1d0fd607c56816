#!/bin/sh
# Installs the Debian packages the project needs. Idempotent: when every
# package is present it only checks and returns; the package lists are
# refreshed only when something is missing.
set -e

PACKAGES="build-essential cmake ninja-build pkg-config \
qt6-base-dev libgl-dev qt6-translations-l10n \
libgtest-dev libgmock-dev libbenchmark-dev \
zlib1g-dev libjpeg-dev \
fonts-vlgothic xvfb xauth poppler-utils"

# Extra groups, asked for by name: "fuzz" (clang's libFuzzer), "bench" (peers
# the benchmark scripts compare against), "gui" (screenshots under Xvfb),
# "package" (what cpack needs to make the Debian package).
for group in "$@"; do
  case "$group" in
    fuzz) PACKAGES="$PACKAGES clang libclang-rt-14-dev" ;;
    bench) PACKAGES="$PACKAGES nkf grep" ;;
    gui) PACKAGES="$PACKAGES x11-apps imagemagick openbox xdotool xclip desktop-file-utils" ;;
    package) PACKAGES="$PACKAGES dpkg-dev file" ;;
    *) echo "install-deps: unknown group '$group'" >&2; exit 2 ;;
  esac
done

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

if [ -z "$missing" ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
echo "install-deps: installing$missing" >&2
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing
