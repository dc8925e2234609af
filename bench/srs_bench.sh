#!/usr/bin/env bash
# The shock response spectrum's kernel beside its SciPy peer on the same
# generated record (N samples at 40 kHz, default 10^7; 120 natural frequencies
# of 1/12 octave, 10 Hz to 10 kHz, Q 10): the processor and elapsed seconds of
# each, zentri's on one and on two threads, the peer's time over ours against
# the goal of 20, and our peak memory against 16 MB (/usr/bin/time -v; the
# record is made block by block, as a run reads it). On a shared machine the
# processor seconds are each program's own time: the one-thread ratio is taken
# from them; the two-thread ratio from our elapsed seconds, which is
# pessimistic when the other core is busy (the load is printed beside it).
# Nothing is asserted.
#
#   bench/srs_bench.sh [N]
# Environment: BUILD (build folder, default build-bench), SCRATCH (default /tmp/zentri-bench).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build-bench}
scratch=${SCRATCH:-/tmp/zentri-bench}
n=${1:-10000000}
{ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DZENTRI_TESTS=OFF &&
  cmake --build "$build" -j2 --target zentri_core zentri_fast_reader; } >/dev/null
mkdir -p "$scratch"
g++ -O3 -std=c++17 -ffp-contract=off -Isrc -o "$scratch/srs_speed" bench/srs_speed.cpp \
  "$build/CMakeFiles/zentri_fast_reader.dir/src/input/pair_reader_choice.cpp.o" "$build/libzentri_core.a" -lsndfile -pthread
"$scratch/srs_speed" "$n" 1 "$scratch/srs_record.f32" >/dev/null
cpu() { sed -n 's/.*: cpu \([0-9.]*\) s.*/\1/p'; }
elapsed() { sed -n 's/.*elapsed \([0-9.]*\) s$/\1/p'; }
echo "load: $(uptime | sed 's/.*load average/load average/')"
for threads in 1 2; do
  /usr/bin/time -v "$scratch/srs_speed" "$n" "$threads" >"$scratch/srs_$threads.out" 2>"$scratch/srs_$threads.time"
  echo "zentri, $threads thread(s): $(cat "$scratch/srs_$threads.out")"
  echo "  peak memory $(awk '/Maximum resident/ { print $6 }' "$scratch/srs_$threads.time") KiB," \
       "goal 16384 KiB: $(awk '/Maximum resident/ { print ($6 <= 16384 ? "met" : "not met") }' "$scratch/srs_$threads.time")"
done
peer=$(/usr/bin/python3 bench/peer_srs.py "$scratch/srs_record.f32")
echo "SciPy peer: $peer"
ratio() { # peer's processor seconds over ours ($1), with a label ($2)
  awk -v p="$(echo "$peer" | cpu)" -v z="$1" -v what="$2" \
    'BEGIN { r = p / z; printf "peer over zentri (%s): %.1f, goal 20: %s\n", what, r, (r >= 20 ? "met" : "not met") }'
}
ratio "$(cpu <"$scratch/srs_1.out")" "1 thread, processor seconds"
ratio "$(elapsed <"$scratch/srs_2.out")" "2 threads, our elapsed seconds"
echo "load: $(uptime | sed 's/.*load average/load average/')"
