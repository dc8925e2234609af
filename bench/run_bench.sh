#!/usr/bin/env bash
# Whole-program benchmark of zentri (fast record scanner) against zentri_ref
# (the C library's formatted input), on a generated record.
#
#   bench/run_bench.sh               10^7 pairs, m = 1024 and m = 65536
#   bench/run_bench.sh --pairs N     N pairs instead
#   bench/run_bench.sh --linearity   zentri alone, m = 1024, 10^7 and 10^8 pairs
#                                    (10^8 is two pairs past the survey's count
#                                    limit: that run warns and leaves them out)
#
# Each run answers: the record, acceleration in G, m, mean removal, Hanning;
# the console goes to a file. Reported per run: wall time, user+system time,
# MB/s of input text (the record is read twice: survey and segments, so twice
# its size over the wall time) and peak resident memory (/usr/bin/time -v).
# The console text and result files of the two programs are compared byte for
# byte. Each figure is the run with the shortest wall time of RUNS runs
# (default 3), as other work on the machine only ever slows a run down.
# Nothing is asserted about time. Environment: BUILD (build folder, default
# build-bench), SCRATCH (work folder, default /tmp/zentri-bench), RUNS.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${BUILD:-build-bench}
scratch=${SCRATCH:-/tmp/zentri-bench}
runs=${RUNS:-3}

pairs=10000000
mode=compare
while [ $# -gt 0 ]; do
  case "$1" in
    --pairs) pairs=$2; shift 2 ;;
    --linearity) mode=linearity; shift ;;
    *) echo "usage: $0 [--pairs N] [--linearity]" >&2; exit 2 ;;
  esac
done

if [ ! -x /usr/bin/time ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq time >/dev/null
fi

{ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DZENTRI_TESTS=OFF &&
  cmake --build "$build" -j2 --target zentri zentri_ref; } >/dev/null
mkdir -p "$scratch"
g++ -O2 -std=c++17 -o "$scratch/gen_record" bench/gen_record.cpp

# Makes the record of n pairs (once; kept for later runs).
record_of() {
  local n=$1 file="$scratch/record_$1.txt"
  [ -s "$file" ] || "$scratch/gen_record" "$n" >"$file"
  echo "$file"
}

# Runs one program on a record with m samples per segment in a folder of its
# own; prints "wall cpu mbps rss_kb" and leaves the console and files there.
run_one() {
  local program=$1 record=$2 m=$3 dir=$4
  rm -rf "$dir" && mkdir -p "$dir" && ln -s "$record" "$dir/rec.txt"
  (cd "$dir" && printf 'rec.txt\n1\n1\n%s\n1\n2\n\n' "$m" |
     /usr/bin/time -v -o time.txt "$root/$build/$program" >console.txt || true)
  local bytes wall cpu rss
  bytes=$(stat -L -c %s "$record")
  wall=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$dir/time.txt" |
         awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; print s }')
  cpu=$(awk -F': ' '/User time|System time/ { s += $2 } END { print s }' "$dir/time.txt")
  rss=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$dir/time.txt")
  awk -v w="$wall" -v c="$cpu" -v b="$bytes" -v r="$rss" \
      'BEGIN { printf "%.2f %.2f %.1f %d\n", w, c, 2 * b / 1e6 / w, r }'
}

# run_one repeated RUNS times; prints the figures of the fastest run.
run_best() {
  local i
  for ((i = 0; i < runs; i++)); do run_one "$@"; done | sort -n | head -n 1
}

# Prints one line of the table.
report() {
  local label=$1 figures=$2
  read -r wall cpu mbps rss <<<"$figures"
  printf '%-34s %8.2f s %8.2f s %9.1f MB/s %8.1f MB\n' "$label" "$wall" "$cpu" "$mbps" \
    "$(awk -v r="$rss" 'BEGIN { print r / 1024 }')"
}

# Prints the head of the table.
header() {
  printf '%-34s %10s %10s %14s %11s\n' run wall user+sys "input text" "peak RSS"
}

if [ "$mode" = linearity ]; then
  header
  declare -A per_pair
  for n in 10000000 100000000; do
    record=$(record_of "$n")
    figures=$(run_best zentri "$record" 1024 "$scratch/run_lin_$n")
    report "zentri, $n pairs, m=1024" "$figures"
    per_pair[$n]=$(awk -v w="${figures%% *}" -v n="$n" 'BEGIN { print w / n }')
    grep -a -o 'Warning: reading stopped at line [0-9]*' "$scratch/run_lin_$n/console.txt" || true
  done
  awk -v a="${per_pair[10000000]}" -v b="${per_pair[100000000]}" \
      'BEGIN { printf "time per pair, 10^8 against 10^7: %.3f (1 is linear)\n", b / a }'
  exit 0
fi

record=$(record_of "$pairs")
printf 'record: %s pairs, %s bytes\n' "$pairs" "$(stat -c %s "$record")"
header
for m in 1024 65536; do
  fast=$(run_best zentri "$record" "$m" "$scratch/run_fast_$m")
  ref=$(run_best zentri_ref "$record" "$m" "$scratch/run_ref_$m")
  report "zentri, m=$m" "$fast"
  report "zentri_ref, m=$m" "$ref"
  awk -v f="${fast%% *}" -v r="${ref%% *}" -v m="$m" \
      'BEGIN { printf "m=%s: zentri_ref / zentri wall time = %.2f\n", m, r / f }'
  if diff -r -q -x time.txt "$scratch/run_fast_$m" "$scratch/run_ref_$m" >/dev/null; then
    echo "m=$m: console text and result files identical"
  else
    echo "m=$m: OUTPUT DIFFERS between zentri and zentri_ref"
  fi
done
