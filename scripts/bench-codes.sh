#!/bin/sh
# Times `kervtext convert` against iconv and nkf on the same generated
# Japanese text (CP932 -> UTF-8, UTF-8 -> CP932, EUC-JP-MS -> CP932) and
# prints MB/s (10^6 bytes of input per second) and the ratios.
# Usage: scripts/bench-codes.sh [MEGABYTES]       (default 100)
# Environment: KERV_BENCH_BUILD (build tree, default build-bench),
#              KERV_BENCH_ROUNDS (runs of each command, the best counts; default 3).
# All three write to standard output redirected to a file; the column
# "kervtext OUT" is kervtext writing OUT itself (temporary file, flush to
# disk, rename), which is what saving costs.
set -e
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh bench
megabytes="${1:-100}"
dir="${KERV_BENCH_BUILD:-build-bench}"
rounds="${KERV_BENCH_ROUNDS:-3}"
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKERV_GUI=OFF -DKERV_TESTS=OFF -DKERV_BENCH=ON >/dev/null
fi
cmake --build "$dir" --target kervtext bench_codes >/dev/null
kervtext="$dir/kervtext/kervtext"

work=$(mktemp -d "${TMPDIR:-/tmp}/bench-codes.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
"$dir/bench/bench_codes" --write-text="$work/in.cp932" --megabytes="$megabytes"
iconv -f CP932 -t UTF-8 "$work/in.cp932" >"$work/in.utf8"
iconv -f CP932 -t EUC-JP-MS "$work/in.cp932" >"$work/in.eucjpms"

# Best wall time in seconds of "$@" over the rounds; output goes to $work/out.
best() {
  result=""
  round=0
  while [ "$round" -lt "$rounds" ]; do
    start=$(date +%s.%N)
    "$@" >"$work/out"
    end=$(date +%s.%N)
    result=$(echo "$start $end ${result:-}" | awk '{ t = $2 - $1; if ($3 == "" || t < $3) print t; else print $3 }')
    round=$((round + 1))
  done
  echo "$result"
}

# A command line that writes its output to standard output.
kervtext_out() {
  "$kervtext" convert --from "$1" --to "$2" "$3" "$work/kervtext.out"
}

printf '%-22s %9s %10s %10s %10s %10s %9s %9s  %s\n' conversion "input MB" "kervtext" "kervtext OUT" iconv nkf "/iconv" "/nkf" "output"
run() {
  name=$1 input=$2 from=$3 to=$4 iconvFrom=$5 iconvTo=$6 nkfFrom=$7 nkfTo=$8
  size=$(wc -c <"$input")
  tk=$(best "$kervtext" convert --from "$from" --to "$to" "$input" -)
  cp "$work/out" "$work/kervtext.stdout"
  tkOut=$(best kervtext_out "$from" "$to" "$input")
  ti=$(best iconv -f "$iconvFrom" -t "$iconvTo" "$input")
  cp "$work/out" "$work/iconv.stdout"
  tn=$(best nkf -x --ic="$nkfFrom" --oc="$nkfTo" "$input")
  if cmp -s "$work/kervtext.stdout" "$work/iconv.stdout"; then same="same as iconv"; else same="differs from iconv"; fi
  echo "$name $size $tk $tkOut $ti $tn $same" | awk '{
    mb = $2 / 1e6
    printf "%-22s %9.1f %10.0f %12.0f %10.0f %10.0f %8.2fx %8.2fx  ", $1, mb, mb / $3, mb / $4, mb / $5, mb / $6, $5 / $3, $6 / $3
    for (i = 7; i <= NF; i++) printf "%s%s", $i, (i < NF ? " " : "\n")
  }'
}

run "CP932->UTF-8" "$work/in.cp932" sjis utf8n CP932 UTF-8 CP932 UTF-8
run "UTF-8->CP932" "$work/in.utf8" utf8n sjis UTF-8 CP932 UTF-8 CP932
run "EUC-JP-MS->CP932" "$work/in.eucjpms" euc sjis EUC-JP-MS CP932 eucJP-ms CP932
echo "(MB/s of input, best of $rounds; ratios are kervtext's speed over the other's)"
