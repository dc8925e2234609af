#!/usr/bin/env bash
# Times the scripted run on the bench's record of 10^7 pairs (bench/gen_record.cpp)
# with --vrs --fds 8 --rainflow --sn 6 against the same run without them
# (acceleration in G, m = 1024), best of RUNS runs each (default 3), and prints
# the ratio, which should be at most 1.2, and each run's peak memory.
# Environment: BUILD (build folder, default build-bench), SCRATCH (work folder,
# default /tmp/zentri-bench), RUNS, PAIRS (default 10000000).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build-bench}
scratch=${SCRATCH:-/tmp/zentri-bench}
runs=${RUNS:-3}
pairs=${PAIRS:-10000000}

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DZENTRI_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target zentri >/dev/null
mkdir -p "$scratch"
record=$scratch/record_$pairs.txt
if [ ! -s "$record" ]; then
  g++ -O2 -std=c++17 -o "$scratch/gen_record" bench/gen_record.cpp -lsndfile
  "$scratch/gen_record" "$pairs" >"$record.part" && mv "$record.part" "$record"
fi

# Prints the best wall time (s) and its peak memory (MB) of RUNS runs of zentri with the options.
best_of() {
  local i best="" line
  for ((i = 0; i < runs; i++)); do
    rm -rf "$scratch/fatigue_out"
    /usr/bin/time -f "%e %M" -o "$scratch/fatigue_time.txt" "$build/zentri" -q acceleration -u G \
      -m 1024 --quiet -o "$scratch/fatigue_out" "$@" "$record"
    line=$(cat "$scratch/fatigue_time.txt")
    if [ -z "$best" ] || awk -v a="${line%% *}" -v b="${best%% *}" 'BEGIN { exit !(a < b) }'; then
      best=$line
    fi
  done
  awk -v l="$best" 'BEGIN { split(l, x, " "); printf "%.3f %.1f\n", x[1], x[2] / 1024 }'
}

uptime
plain=$(best_of)
fatigue=$(best_of --vrs --fds 8 --rainflow --sn 6)
echo "without: ${plain% *} s, ${plain#* } MB"
echo "with --vrs --fds 8 --rainflow --sn 6: ${fatigue% *} s, ${fatigue#* } MB"
awk -v a="${plain% *}" -v b="${fatigue% *}" \
  'BEGIN { r = b / a; printf "ratio %.3f (goal at most 1.2: %s)\n", r, r <= 1.2 ? "met" : "not met" }'
uptime
