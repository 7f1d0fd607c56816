#!/bin/sh
# kervtext grep side by side with GNU grep and grep -P, on the same generated
# 100 MB Japanese text: Shift_JIS for kervtext, its UTF-8 twin for the peers.
# Each command runs RUNS times (default 3) writing its output to a file
# (GNU grep stops at the first match when it writes to /dev/null); the best
# time counts. Prints lines found, seconds, MB/s of the file each tool read,
# and how many times as long each peer took as kervtext.
# Usage: scripts/bench-grep.sh [RUNS]
set -ef
cd "$(dirname "$0")/.."
runs="${1:-3}"
sh scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKERV_GUI=OFF -DKERV_TESTS=OFF -DKERV_BENCH=ON >/dev/null
cmake --build build-bench --target kervtext bench_search >/dev/null

data=/tmp/kerv-bench-grep
mkdir -p "$data"
sjis="$data/japanese-sjis.txt"
utf8="$data/japanese-utf8.txt"
if [ ! -s "$sjis" ] || [ ! -s "$utf8" ]; then
  build-bench/bench/bench_search --write-japanese-text "$sjis"
  iconv -f CP932 -t UTF-8 "$sjis" > "$utf8"
fi
kervtext="$(pwd)/build-bench/kervtext/kervtext"
export LC_ALL=C.UTF-8

# Best wall time of RUNS runs, in seconds.
best_time() {
  best=""
  i=0
  while [ "$i" -lt "$runs" ]; do
    start=$(date +%s%N)
    "$@" >"$data/output.txt" 2>/dev/null || true
    end=$(date +%s%N)
    t=$(( end - start ))
    if [ -z "$best" ] || [ "$t" -lt "$best" ]; then best=$t; fi
    i=$(( i + 1 ))
  done
  awk -v ns="$best" 'BEGIN { printf "%.3f", ns / 1e9 }'
}

size_of() { wc -c < "$1" | tr -d ' '; }
sjis_bytes=$(size_of "$sjis")
utf8_bytes=$(size_of "$utf8")

printf '%s\n' "Shift_JIS text: $sjis_bytes bytes; UTF-8 twin: $utf8_bytes bytes; best of $runs runs"
printf '%-22s %-10s %9s %9s %9s %12s\n' "pattern" "tool" "lines" "seconds" "MB/s" "time/kerv"

# row NAME TOOL FILE-BYTES KERV-SECONDS COMMAND...
row() {
  name=$1 tool=$2 bytes=$3 kerv=$4
  shift 4
  lines=$("$@" 2>/dev/null | wc -l | tr -d ' ') || true
  seconds=$(best_time "$@")
  awk -v n="$name" -v t="$tool" -v l="$lines" -v s="$seconds" -v b="$bytes" -v k="$kerv" 'BEGIN {
    rate = s > 0 ? b / 1e6 / s : 0
    ratio = (k != "" && k > 0) ? sprintf("%.2fx", s / k) : "-"
    printf "%-22s %-10s %9d %9.3f %9.0f %12s\n", n, t, l, s, rate, ratio
  }'
  last_seconds=$seconds
}

# compare NAME KERVTEXT-ARGS -- GREP-ARGS -- GREP-P-PATTERN
compare() {
  name=$1
  shift
  kargs=""
  while [ "$1" != "--" ]; do kargs="$kargs $1"; shift; done
  shift
  gflag=$1 gpattern=$2 ppattern=$3
  # shellcheck disable=SC2086
  row "$name" kervtext "$sjis_bytes" "" "$kervtext" grep $kargs "$sjis"
  kerv_seconds=$last_seconds
  row "" grep "$utf8_bytes" "$kerv_seconds" grep $gflag "$gpattern" "$utf8"
  row "" "grep -P" "$utf8_bytes" "$kerv_seconds" grep -P "$ppattern" "$utf8"
}

compare "literal" "吾輩は猫である" -- -F "吾輩は猫である" "吾輩は猫である"
compare "literal, absent" "東京都庁" -- -F "東京都庁" "東京都庁"
# GNU grep refuses ranges of non-ASCII characters in the C.UTF-8 locale
# ("Invalid collation character"), so it gets the 86 katakana of ァ-ヶ listed.
katakana=$(printf "$(awk 'BEGIN { for (t = 64; t <= 150; t++) if (t != 127) printf "\\203\\%o", t }')" |
  iconv -f CP932 -t UTF-8)
compare "class + repetition" -e "[ァ-ヶ]+ト" -- -E "[$katakana]+ト" "[ァ-ヶ]+ト"
compare "alternation of 5" -e "東京|大阪|名古屋|札幌|福岡" -- -E "東京|大阪|名古屋|札幌|福岡" "東京|大阪|名古屋|札幌|福岡"
# The peers get the fuzzy pattern as kervtext expands it.
fuzzy="(か|カ|ｶ)(た|タ|ﾀ)(か|カ|ｶ)(な|ナ|ﾅ)"
compare "fuzzy kana" --fuzzy "かたかな" -- -E "$fuzzy" "$fuzzy"
