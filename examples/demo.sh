#!/usr/bin/env bash
# Runs zentri on the bundled example record with scripted answers, in a folder of
# its own, and plots the results with zentri-plot.
#
# Usage: examples/demo.sh [ZENTRI [FOLDER]]
#   ZENTRI  the zentri program to run (default: build/zentri)
#   FOLDER  where the record, the console text, the result files and the
#           pictures go (default: a folder named demo beside ZENTRI)
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
rm -f "$folder"/*.psd "$folder"/*.mag "$folder"/*.png "$folder"/console.txt
cp "$here/example_record.txt" "$folder/"

# The answers: the record's name, acceleration, in G, 1024 samples per segment,
# remove the mean, rectangular window, then a key for "Press any key to exit."
echo "demo: zentri example_record.txt in $folder"
set +e
(cd "$folder" && printf 'example_record.txt\n1\n1\n1024\n1\n1\n\n' | "$zentri" >console.txt)
status=$?
set -e
if [ "$status" -ne 1 ] || ! grep -q 'overall rms' "$folder/console.txt"; then
    echo "demo: zentri did not finish its run (exit status $status); its console:" >&2
    tail -n 20 "$folder/console.txt" >&2
    exit 1
fi
# zentri ends every run with exit status 1; the summary shows the run went through.
sed -n '/^ m= [0-9]*$/,/overall rms/p' "$folder/console.txt"
echo
echo "demo: expected overall rms 0.8155 G (sines 1 G at 50 Hz and 0.5 G at 120 Hz,"
echo "      noise 0.0001 G^2/Hz from 10 to 410 Hz, offset 0.5 G removed with the mean)"
echo "demo: result files:"
(cd "$folder" && ls -1 ./*.psd ./*.mag | sed 's|^\./|  |')

echo "demo: pictures:"
if ! "$here/../tools/zentri-plot" "$folder" | sed 's|^|  |'; then
    echo "demo: no pictures; zentri-plot needs gnuplot (Debian: apt-get install gnuplot-nox)" >&2
    exit 1
fi
echo "demo: console text in $folder/console.txt"
