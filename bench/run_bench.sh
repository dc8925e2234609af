#!/usr/bin/env bash
# Whole-program benchmark of zentri on a generated record of 10^7 pairs (time
# "%.6f", amplitude "%e"), against the tool an engineer would use instead:
# pandas read_csv (C engine) and scipy.signal.welch (bench/peer_welch.py);
# and of zentri on the same signal as a 10^7-sample 32-bit float WAV (N
# samples with --pairs) against scipy.io.wavfile.read and the same welch.
#
#   bench/run_bench.sh                 zentri (interactive, and scripted: options, no
#                                      per-segment text) against the peer
#   bench/run_bench.sh --pairs N       a generated record of N pairs instead
#   bench/run_bench.sh --record FILE   an existing record instead
#   bench/run_bench.sh --reference     zentri against zentri_ref (the C library's
#                                      formatted input), m = 1024 and 65536
#   bench/run_bench.sh --linearity     zentri alone, m = 1024, 10^7 and 10^8 pairs
#                                      (10^8 is two pairs past the survey's count
#                                      limit: that run warns and leaves them out)
#
# Each zentri run: acceleration in G, m = 1024, mean removal, Hanning; the
# console goes to a file. Reported per run: wall time (bash's clock around
# the process), user+system time and peak resident memory (/usr/bin/time -v),
# MB/s of input text (the record's size over the wall time), and the ratio of
# the peer's wall time to zentri's.
# Every figure is the best of RUNS runs (default 5), as other work on the
# machine only ever slows a run down; the spread (slowest over fastest) is
# printed beside it. Nothing is asserted about time, and nothing is installed:
# the peer is skipped with a message where pandas or scipy is missing.
# Environment: BUILD (build folder, default build-bench), SCRATCH (work folder,
# default /tmp/zentri-bench), RUNS, PEER_PYTHON (the Python to run the peer).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${BUILD:-build-bench}
scratch=${SCRATCH:-/tmp/zentri-bench}
runs=${RUNS:-5}

pairs=10000000
given_record=
mode=peer
while [ $# -gt 0 ]; do
  case "$1" in
    --pairs) pairs=$2; shift 2 ;;
    --record) given_record=$(realpath "$2"); shift 2 ;;
    --reference) mode=reference; shift ;;
    --linearity) mode=linearity; shift ;;
    *) echo "usage: $0 [--pairs N | --record FILE] [--reference | --linearity]" >&2; exit 2 ;;
  esac
done

if [ ! -x /usr/bin/time ]; then
  echo "run_bench: /usr/bin/time is needed for the peak memory (Debian package: time)" >&2
  exit 2
fi

{ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DZENTRI_TESTS=OFF &&
  cmake --build "$build" -j2 --target zentri zentri_ref; } >/dev/null
mkdir -p "$scratch"
g++ -O2 -std=c++17 -o "$scratch/gen_record" bench/gen_record.cpp -lsndfile

# Makes the record of n pairs (once; kept for later runs).
record_of() {
  local n=$1 file="$scratch/record_$1.txt"
  [ -s "$file" ] || "$scratch/gen_record" "$n" >"$file"
  echo "$file"
}

# Makes the float WAV of n samples (once; kept for later runs).
wav_of() {
  local n=$1 file="$scratch/record_$1.wav"
  [ -s "$file" ] || "$scratch/gen_record" "$n" "$file"
  echo "$file"
}

# Runs a command in a fresh folder holding the record as rec.txt (rec.wav for a WAV), under
# /usr/bin/time; prints "wall cpu mbps rss_kb" and leaves its output there.
# The command reads its standard input from the file stdin.txt of the folder.
measure() {
  local record=$1 dir=$2
  shift 2
  rm -rf "$dir" && mkdir -p "$dir" && ln -s "$record" "$dir/rec.${record##*.}"
  [ -n "${answers:-}" ] && printf '%s' "$answers" >"$dir/stdin.txt" || : >"$dir/stdin.txt"
  local start=$EPOCHREALTIME
  (cd "$dir" && /usr/bin/time -v -o time.txt "$@" <stdin.txt >console.txt 2>stderr.txt || true)
  local stop=$EPOCHREALTIME bytes cpu rss
  bytes=$(stat -L -c %s "$record")
  cpu=$(awk -F': ' '/User time|System time/ { s += $2 } END { print s }' "$dir/time.txt")
  rss=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$dir/time.txt")
  awk -v a="$start" -v z="$stop" -v c="$cpu" -v b="$bytes" -v r="$rss" \
      'BEGIN { w = z - a; printf "%.3f %.2f %.1f %d\n", w, c, b / 1e6 / w, r }'
}

# Runs zentri (or zentri_ref) interactively on a record with m samples per
# segment, answering the dialogue from standard input.
run_one() {
  local program=$1 record=$2 m=$3 dir=$4
  # the answers end with the key press that ends the run
  answers=$(printf 'rec.txt\n1\n1\n%s\n1\n2\nx' "$m") measure "$record" "$dir" "$root/$build/$program"
}

# Runs the peer on a record (pandas + scipy for text, scipy for a WAV); keeps
# its own time of each run in peer_inner.txt.
run_peer() {
  measure "$1" "$scratch/run_peer" "$peer_python" "$root/bench/peer_welch.py" "rec.${1##*.}" \
    peer_psd.txt
  tail -n 1 "$scratch/run_peer/stderr.txt" >>"$scratch/peer_inner.txt"
}

# Prints the peer's figures on a record, its own time from reading to writing
# and the ratio of its wall time to each zentri run's, given as pairs of a
# name and its figures after the record and the peer's label.
compare_with_peer() {
  local record=$1 label=$2 peer inner
  shift 2
  : >"$scratch/peer_inner.txt"
  peer=$(run_best run_peer "$record")
  report "$label" "$peer"
  # The peer's own time from reading to writing, without Python's start and imports.
  inner=$(sort -n "$scratch/peer_inner.txt" | head -n 1)
  printf '%-34s %8.3f s (fastest of the runs)\n' "  of it, reading to savetxt" "$inner"
  while [ $# -ge 2 ]; do
    awk -v p="${peer%% *}" -v i="$inner" -v z="${2%% *}" -v r="$1" \
        'BEGIN { printf "peer / zentri %s wall time = %.2f (%.2f without Python start and imports)\n", r, p / z, i / z }'
    shift 2
  done
}

# Repeats a runner RUNS times; prints the figures of the fastest run and, as
# a fifth field, the slowest wall time over the fastest.
run_best() {
  local i
  for ((i = 0; i < runs; i++)); do "$@"; done | sort -n |
    awk 'NR == 1 { best = $0; fast = $1 } { slow = $1 } END { printf "%s %.2f\n", best, slow / fast }'
}

# Prints one line of the table.
report() {
  local label=$1 figures=$2
  read -r wall cpu mbps rss spread <<<"$figures"
  printf '%-34s %8.3f s %8.2f s %9.1f MB/s %8.1f MB %7.2f\n' "$label" "$wall" "$cpu" "$mbps" \
    "$(awk -v r="$rss" 'BEGIN { print r / 1024 }')" "$spread"
}

# Prints the head of the table.
header() {
  printf '%-34s %10s %10s %14s %11s %7s\n' run wall user+sys "input text" "peak RSS" spread
}

if [ "$mode" = linearity ]; then
  header
  declare -A per_pair
  for n in 10000000 100000000; do
    record=$(record_of "$n")
    figures=$(run_best run_one zentri "$record" 1024 "$scratch/run_lin_$n")
    report "zentri, $n pairs, m=1024" "$figures"
    per_pair[$n]=$(awk -v w="${figures%% *}" -v n="$n" 'BEGIN { print w / n }')
    grep -a -o 'Warning: reading stopped at line [0-9]*' "$scratch/run_lin_$n/console.txt" || true
  done
  awk -v a="${per_pair[10000000]}" -v b="${per_pair[100000000]}" \
      'BEGIN { printf "time per pair, 10^8 against 10^7: %.3f (1 is linear)\n", b / a }'
  exit 0
fi

if [ -n "$given_record" ]; then
  record=$given_record
  pairs=$(wc -l <"$record")
else
  record=$(record_of "$pairs")
fi
printf 'record: %s (%s lines, %s bytes), best of %s runs; spread = slowest / fastest wall\n' \
  "$record" "$pairs" "$(stat -L -c %s "$record")" "$runs"
uptime
header

if [ "$mode" = reference ]; then
  for m in 1024 65536; do
    fast=$(run_best run_one zentri "$record" "$m" "$scratch/run_fast_$m")
    ref=$(run_best run_one zentri_ref "$record" "$m" "$scratch/run_ref_$m")
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
  exit 0
fi

# The Python that has pandas and scipy, if any.
peer_python=
for py in ${PEER_PYTHON:-python3 /usr/bin/python3}; do
  if "$py" -c 'import pandas, scipy.signal, scipy.io.wavfile' 2>/dev/null; then peer_python=$py; break; fi
done

interactive=$(run_best run_one zentri "$record" 1024 "$scratch/run_interactive")
report "zentri, interactive" "$interactive"
scripted=$(run_best measure "$record" "$scratch/run_scripted" "$root/$build/zentri" \
  -q acceleration -u G -m 1024 --mean -w hanning -o out rec.txt)
report "zentri, scripted" "$scripted"
if cmp -s "$scratch/run_interactive/A_G2Hz.psd" "$scratch/run_scripted/out/A_G2Hz.psd"; then
  echo "zentri: the interactive and the scripted run wrote the same PSD"
else
  echo "zentri: THE INTERACTIVE AND THE SCRIPTED RUN WROTE DIFFERENT PSD FILES"
fi
wav=$(wav_of "$pairs")
sound=$(run_best measure "$wav" "$scratch/run_wav" "$root/$build/zentri" \
  -q acceleration -u G -m 1024 --mean -w hanning -o out rec.wav)
report "zentri, scripted, float WAV" "$sound"
if [ -n "$peer_python" ]; then
  compare_with_peer "$record" "pandas read_csv + scipy welch" interactive "$interactive" \
    scripted "$scripted"
  compare_with_peer "$wav" "scipy wavfile.read + welch, WAV" "float WAV" "$sound"
else
  echo "pandas + scipy peer: skipped (no python3 with pandas and scipy; Debian packages:"
  echo "python3-pandas python3-scipy; or set PEER_PYTHON)"
fi
