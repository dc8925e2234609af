#!/usr/bin/env bash
# Speed of the column reader (CSV exports, amplitude-only records, several
# channels) beside the record scanner of the plain two-column record, on the
# same generated samples written in each layout. Only the reading is timed:
# one pass over the record as the survey makes it, best of RUNS (default 5).
# Nothing is asserted about time.
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
  cmake --build "$build" -j2 --target zentri_core; } >/dev/null
mkdir -p "$scratch"
g++ -O2 -std=c++17 -o "$scratch/gen_record" bench/gen_record.cpp
g++ -O2 -std=c++17 -ffp-contract=off -Isrc -o "$scratch/reader_speed" bench/reader_speed.cpp \
  "$build/libzentri_core.a"

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
