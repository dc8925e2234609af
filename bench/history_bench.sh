#!/usr/bin/env bash
# The time history's cost: the scripted run on the generated record of N pairs
# (default 10^7, the record of bench/run_bench.sh), m = 1024, with every option
# of the time history on (--histogram 1024 --running 1 --spectrogram K --hold,
# K default 100: about 195 frames of the 19530 segments) beside the same run without them: wall and processor seconds of each, the
# ratio of the two (goal at most 1.3) and the peak memory of the run with them
# (goal within 16 MB, 16384 KiB), from /usr/bin/time -v. Each figure is the
# best of RUNS runs (default 3); the load is printed before and after. Nothing
# is asserted. The spectrogram's cost is the text it writes, frames times m/2
# rows of three numbers: K = 16 (1220 frames, 45 MB of rows) doubles the run.
#
#   bench/history_bench.sh [N [K]]
# Environment: BUILD (build folder, default build-bench), SCRATCH (default
# /tmp/zentri-bench), RUNS.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build-bench}
scratch=${SCRATCH:-/tmp/zentri-bench}
runs=${RUNS:-3}
n=${1:-10000000}
k=${2:-100}
{ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DZENTRI_TESTS=OFF &&
  cmake --build "$build" -j2 --target zentri; } >/dev/null
mkdir -p "$scratch"
g++ -O2 -std=c++17 -o "$scratch/gen_record" bench/gen_record.cpp -lsndfile
record="$scratch/record_$n.txt"
[ -s "$record" ] || { "$scratch/gen_record" "$n" >"$record.part" && mv "$record.part" "$record"; }

# Runs zentri on the record with the options given RUNS times; prints the best
# "wall cpu rss_kb" (each the least of the runs).
best_of() {
  local dir="$scratch/history_run" i start stop best=""
  for ((i = 0; i < runs; i++)); do
    rm -rf "$dir" && mkdir -p "$dir"
    start=$EPOCHREALTIME
    /usr/bin/time -v -o "$dir/time.txt" "$build/zentri" -q 1 -u G -m 1024 -o "$dir/out" \
      --quiet "$@" "$record"
    stop=$EPOCHREALTIME
    best=$(awk -v w="$(awk -v a="$start" -v b="$stop" 'BEGIN { print b - a }')" -v best="$best" '
      /User time/ { u = $4 } /System time/ { s = $4 } /Maximum resident/ { r = $6 }
      END { c = u + s; split(best, b, " ")
            if (best != "") { if (b[1] < w) w = b[1]; if (b[2] < c) c = b[2]; if (b[3] < r) r = b[3] }
            printf "%.3f %.3f %d\n", w, c, r }' "$dir/time.txt")
  done
  echo "$best"
}

echo "load: $(uptime | sed 's/.*load average/load average/')"
read -r w0 c0 r0 <<<"$(best_of)"
read -r w1 c1 r1 <<<"$(best_of --histogram 1024 --running 1 --spectrogram "$k" --hold)"
echo "without the time history: wall $w0 s, cpu $c0 s, peak memory $r0 KiB"
echo "with every option of it:  wall $w1 s, cpu $c1 s, peak memory $r1 KiB"
awk -v w0="$w0" -v w1="$w1" -v c0="$c0" -v c1="$c1" -v r="$r1" 'BEGIN {
  printf "wall ratio %.2f, cpu ratio %.2f, goal at most 1.3: %s\n", w1 / w0, c1 / c0,
         (w1 / w0 <= 1.3 ? "met" : "not met")
  printf "peak memory %d KiB, goal 16384 KiB: %s\n", r, (r <= 16384 ? "met" : "not met") }'
echo "load: $(uptime | sed 's/.*load average/load average/')"
