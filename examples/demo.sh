#!/usr/bin/env bash
# Runs zentri on the bundled example record in scripted mode, into a folder of
# its own with a JSON summary, and plots the results with zentri-plot, which puts
# the run's parameters under each picture's title.
#
# Usage: examples/demo.sh [ZENTRI [FOLDER]]
#   ZENTRI  the zentri program to run (default: build/zentri)
#   FOLDER  where the record, the result files, the summary and the pictures
#           go (default: a folder named demo beside ZENTRI)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
zentri=${1:-build/zentri}
if [ ! -x "$zentri" ]; then
    echo "demo: $zentri is not a built zentri program; build it first:" >&2
    echo "  cmake -S . -B build && cmake --build build -j2 --target zentri" >&2
    exit 1
fi
zentri=$(cd "$(dirname "$zentri")" && pwd)/$(basename "$zentri")
folder=${2:-$(dirname "$zentri")/demo}
mkdir -p "$folder"
folder=$(cd "$folder" && pwd)
rm -f "$folder"/*.psd "$folder"/*.mag "$folder"/*.png "$folder"/*.json
cp "$here/example_record.txt" "$folder/"

# Acceleration in G, 1024 samples per segment, the mean removed, rectangular window.
echo "demo: zentri -q acceleration -u G -m 1024 --mean -w rectangular \\"
echo "        -o results --summary results/summary.json example_record.txt   (in $folder)"
(cd "$folder" && "$zentri" -q acceleration -u G -m 1024 --mean -w rectangular \
    -o results --summary results/summary.json example_record.txt)
echo
echo "demo: expected overall rms 0.8155 G (sines 1 G at 50 Hz and 0.5 G at 120 Hz,"
echo "      noise 0.0001 G^2/Hz from 10 to 410 Hz, offset 0.5 G removed with the mean)"
echo "demo: pictures:"
if ! "$here/../tools/zentri-plot" "$folder/results" | sed 's|^|  |'; then
    echo "demo: no pictures; zentri-plot needs gnuplot (Debian: apt-get install gnuplot-nox)" >&2
    exit 1
fi
