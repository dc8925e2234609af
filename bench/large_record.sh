#!/usr/bin/env bash
# Large-record check, run by hand (not in CI): streams a generated record of
# more than 4 GiB to disk, runs zentri over it, verifies the survey's pair count
# and the number of segments, 1 + floor((N - m) / (m/2)), and reports the time
# and the peak memory, next to those of a small record (memory must not grow
# with the record). The big file is deleted at the end.
#
# usage: bench/large_record.sh [PAIRS [M]]   (defaults 92000000 pairs of 48 bytes, m = 1024)
# Set ZENTRI_BENCH_DIR to choose the folder for the record (default /tmp), and
# ZENTRI_BIN to run a zentri built elsewhere (default: build-rel, built here).
set -euo pipefail
cd "$(dirname "$0")/.."
pairs=${1:-92000000}
m=${2:-1024}
line_bytes=48
nhs=$((m / 2))

command -v /usr/bin/time >/dev/null || { apt-get update -qq && apt-get install -y -qq time; }
zentri=${ZENTRI_BIN:-}
if [ -z "$zentri" ]; then
  cmake -S . -B build-rel -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build-rel -j2 --target zentri >/dev/null
  zentri=$PWD/build-rel/zentri
fi

base=${ZENTRI_BENCH_DIR:-/tmp}
need_kb=$(( (pairs * line_bytes) / 1024 + 1024 * 1024 ))
free_kb=$(df -Pk "$base" | awk 'NR == 2 { print $4 }')
if [ "$free_kb" -lt "$need_kb" ]; then
  echo "large_record: $base has $((free_kb / 1024)) MiB free, $((need_kb / 1024)) MiB needed" >&2
  exit 2
fi
work=$(mktemp -d "$base/zentri_large.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Writes n pairs of fixed 48-byte lines: time i/10000 s, a 997-sample sine.
generate() {
  awk -v n="$1" 'BEGIN {
    for (k = 0; k < 997; k++) tab[k] = sin(6.283185307179586 * 7 * k / 997)
    for (i = 0; i < n; i++) printf "%16.4f %30.9e\n", i / 10000, tab[i % 997]
  }'
}

# Runs zentri on record n_pairs.txt in the work folder; prints elapsed seconds and peak KiB.
run_zentri() {
  local name=$1
  local status=0
  (cd "$work" && printf '%s\n1\n1\n%s\n1\n2\n\n' "$name" "$m" |
     /usr/bin/time -v -o "$name.time" "$zentri" >"$name.console") || status=$?
  # zentri ends every run, the normal one too, with exit status 1
  [ "$status" -eq 1 ] || { echo "FAIL: zentri exited with $status on $name" >&2; return 1; }
  local secs kb
  secs=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/$name.time")
  kb=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/$name.time")
  echo "$secs $kb"
}

# Checks the survey count and the segment count of a finished run of n pairs.
verify() {
  local name=$1 n=$2 console=$work/$1.console
  local segments=$((1 + (n - m) / nhs)) rest=$(((n - m) % nhs))
  grep -q "ns = $n samples" "$console" || { echo "FAIL: survey count is not $n" >&2; return 1; }
  grep -q "nave = $segments " "$console" || { echo "FAIL: nave is not $segments" >&2; return 1; }
  grep -q "ns=$rest  nhs=$nhs " "$console" || { echo "FAIL: last read is not $rest new samples" >&2; return 1; }
  echo "$segments"
}

generate 1000000 >"$work/small.txt"
small=$(run_zentri small.txt)
read -r small_time small_kb <<<"$small"
small_segments=$(verify small.txt 1000000)

start=$(date +%s)
generate "$pairs" >"$work/large.txt"
gen_secs=$(( $(date +%s) - start ))
bytes=$(stat -c %s "$work/large.txt")
[ "$bytes" -gt $((4 * 1024 * 1024 * 1024)) ] || { echo "FAIL: record is only $bytes bytes" >&2; exit 1; }
large=$(run_zentri large.txt)
read -r large_time large_kb <<<"$large"
large_segments=$(verify large.txt "$pairs")

echo "record: $pairs pairs, $bytes bytes ($(awk -v b="$bytes" 'BEGIN { printf "%.2f", b / 2^30 }') GiB), generated in $gen_secs s"
echo "m = $m: $large_segments segments as expected; zentri took $large_time (h:mm:ss or m:ss), peak RSS $large_kb KiB"
echo "small record (1000000 pairs, $small_segments segments): $small_time, peak RSS $small_kb KiB"
