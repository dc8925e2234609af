#!/usr/bin/env bash
# The shock response spectrum's kernel beside its SciPy peer on the same
# generated record (N samples at 40 kHz, default 10^7; 120 natural frequencies
# of 1/12 octave, 10 Hz to 10 kHz, Q 10): the seconds of each, zentri's on one
# and on two threads, the peer's time over ours against the goal of 20, and
# our peak memory against 16 MB (/usr/bin/time -v). Nothing is asserted.
#
#   bench/srs_bench.sh [N]
# Environment: BUILD (build folder, default build-bench), SCRATCH (default /tmp/zentri-bench).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build-bench}
scratch=${SCRATCH:-/tmp/zentri-bench}
n=${1:-10000000}
{ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DZENTRI_TESTS=OFF &&
  cmake --build "$build" -j2 --target zentri_core; } >/dev/null
mkdir -p "$scratch"
g++ -O3 -std=c++17 -ffp-contract=off -Isrc -o "$scratch/srs_speed" bench/srs_speed.cpp \
  "$build/libzentri_core.a" -lsndfile -pthread
"$scratch/srs_speed" "$n" 1 "$scratch/srs_record.f32" >/dev/null
seconds() { sed -n 's/.*: \([0-9.]*\) s$/\1/p'; }
for threads in 1 2; do
  /usr/bin/time -v "$scratch/srs_speed" "$n" "$threads" >"$scratch/srs_$threads.out" 2>"$scratch/srs_$threads.time"
  echo "zentri, $threads thread(s): $(cat "$scratch/srs_$threads.out"), peak memory" \
       "$(awk '/Maximum resident/ { print $6 }' "$scratch/srs_$threads.time") KiB (goal 16384, the record itself included)"
done
peer=$(/usr/bin/python3 bench/peer_srs.py "$scratch/srs_record.f32")
echo "SciPy peer: $peer"
for threads in 1 2; do
  awk -v p="$(echo "$peer" | seconds)" -v z="$(seconds <"$scratch/srs_$threads.out")" -v t="$threads" \
    'BEGIN { r = p / z; printf "peer over zentri (%d thread(s)): %.1f, goal 20: %s\n", t, r, (r >= 20 ? "met" : "not met") }'
done
