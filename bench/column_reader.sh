#!/usr/bin/env bash
# Speed of the column reader (CSV exports, amplitude-only records, several
# channels) beside the record scanner of the plain two-column record, on the
# same generated samples written in each layout. First the reading alone: one
# pass over the record as the survey makes it; then whole scripted runs
# (acceleration in G, m = 1024, mean removal, Hanning), each channel of the
# three-channel export checked byte for byte against its two-column run. Best
# of RUNS (default 5). Nothing is asserted about time.
#
#   bench/column_reader.sh [--pairs N]   (default 10^7 pairs)
#
# Environment: BUILD (build folder, default build-bench), SCRATCH (work
# folder, default /tmp/zentri-bench), RUNS.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build-bench}
scratch=${SCRATCH:-/tmp/zentri-bench}
runs=${RUNS:-5}
pairs=10000000
if [ "${1:-}" = --pairs ]; then pairs=$2; fi

{ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DZENTRI_TESTS=OFF &&
  cmake --build "$build" -j2 --target zentri_core zentri; } >/dev/null
mkdir -p "$scratch"
g++ -O2 -std=c++17 -o "$scratch/gen_record" bench/gen_record.cpp
g++ -O2 -std=c++17 -ffp-contract=off -Isrc -o "$scratch/reader_speed" bench/reader_speed.cpp \
  "$build/CMakeFiles/zentri_fast_reader.dir/src/input/pair_reader_choice.cpp.o" "$build/libzentri_core.a" -lsndfile -pthread

plain="$scratch/record_$pairs.txt"
[ -s "$plain" ] || "$scratch/gen_record" "$pairs" >"$plain"
# The same samples as a CSV export with a header, as amplitudes alone, and
# with two more channels (the amplitude repeated with its sign turned).
awk 'BEGIN { print "Time,Accel X" } { print $1 "," $2 }' "$plain" >"$scratch/columns.csv"
awk '{ print $2 }' "$plain" >"$scratch/amplitudes.txt"
awk 'BEGIN { print "Time;X;Y;Z" } { a = $2; n = substr(a, 1, 1) == "-" ? substr(a, 2) : "-" a;
            print $1 ";" a ";" n ";" a }' "$plain" >"$scratch/channels.csv"

printf '%-44s ' "two columns, record scanner:"
"$scratch/reader_speed" "$plain" "$runs"
printf '%-44s ' "CSV with header, column reader --column 2:"
"$scratch/reader_speed" "$scratch/columns.csv" "$runs" 2 2>/dev/null
printf '%-44s ' "amplitudes alone, column reader --rate:"
"$scratch/reader_speed" "$scratch/amplitudes.txt" "$runs" 1 20000 2>/dev/null
printf '%-44s ' "three channels, column reader --columns all:"
"$scratch/reader_speed" "$scratch/channels.csv" "$runs" 2 0 3 2>/dev/null

# Best wall time, in seconds, of RUNS scripted runs with the given arguments.
best_run() {
  local i t best=""
  for ((i = 0; i < runs; i++)); do
    t=$( { TIMEFORMAT=%R; time "$build/zentri" -q acceleration -u G -m 1024 "$@" \
             >/dev/null 2>&1; } 2>&1 )
    best=$(awk -v a="$t" -v b="${best:-$t}" 'BEGIN { print (a < b ? a : b) }')
  done
  echo "$best"
}

# One line of the whole-run table: label, record, wall time.
report_run() {
  awk -v l="$1" -v b="$(stat -c %s "$2")" -v w="$3" \
      'BEGIN { printf "%-44s %6.2f s, %7.1f MB/s of text read twice\n", l, w, 2 * b / 1e6 / w }'
}

echo "whole scripted runs:"
report_run "two columns:" "$plain" "$(best_run -o "$scratch/run_plain" "$plain")"
report_run "CSV with header, --column 2:" "$scratch/columns.csv" \
  "$(best_run -o "$scratch/run_csv" --column 2 "$scratch/columns.csv")"
report_run "three channels, --columns all:" "$scratch/channels.csv" \
  "$(best_run -o "$scratch/run_all" --columns all "$scratch/channels.csv")"
if diff -r -q "$scratch/run_plain" "$scratch/run_all/X" >/dev/null &&
   diff -r -q "$scratch/run_plain" "$scratch/run_csv" >/dev/null; then
  echo "result files of --column 2 and of channel X identical to the two-column run's"
else
  echo "RESULT FILES DIFFER from the two-column run's"
fi
