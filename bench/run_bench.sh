#!/usr/bin/env bash
# Whole-program benchmark of zentri on a generated record of 10^7 pairs (time
# "%.6f", amplitude "%e"), against the tool an engineer would use instead:
# pandas read_csv (C engine) and scipy.signal.welch (bench/peer_welch.py);
# and of zentri on the same signal as a 10^7-sample 32-bit float WAV (N
# samples with --pairs) against scipy.io.wavfile.read and the same welch.
#
#   bench/run_bench.sh                 zentri scripted, piped through "-" (cat rec.txt |),
#                                      interactive and on the float WAV, side by side
#                                      against the peer and each run's goal, with the
#                                      machine's limits (cat, a pipe, the scanner alone,
#                                      the transforms alone)
#   bench/run_bench.sh --pairs N       a generated record of N pairs instead
#   bench/run_bench.sh --record FILE   an existing record instead
#   bench/run_bench.sh --reference     zentri against zentri_ref (the C library's
#                                      formatted input), m = 1024 and 65536
#   bench/run_bench.sh --linearity     zentri alone, m = 1024, 10^7 and 10^8 pairs
#                                      (10^8 is two pairs past the survey's count
#                                      limit: that run warns and leaves them out)
#
# Each zentri run: acceleration in G, m = 1024, mean removal, Hanning (the
# scripted defaults; the same answers in the dialogue); the console goes to a
# file. Reported per run: wall time (bash's clock around the process, or around
# the whole pipeline for the piped run), user+system time and peak resident
# memory of zentri (/usr/bin/time -v), the memory against a 16 MB limit
# (16384 KiB: "ok" or "over"), MB/s of input (the record's size over the wall
# time), the ratio of the peer's wall time to zentri's and the goal for that
# ratio, "met" or "not met". The goals: scripted 20, piped 16, interactive 12,
# float WAV 10. Then the transforms on every core against --threads 1: m =
# 65536 on the same record (peak memory within 16 MB) and a 16-channel CSV
# export of its first CHANNEL_LINES lines (default 10^6, every channel from the
# record's amplitude, --columns all, m = 65536, within 40 MB): both walls, the
# speed-up, and whether the two runs wrote the same files. The machine's load
# (uptime) is printed before and after. A run that exits with another status than its mode's (0
# scripted, 1 interactive) or leaves no A_G2Hz.psd is shown as failed, never
# as a time. The limits beside: MB/s of cat over the record to /dev/null, of
# cat piped into cat, and of the record scanner reading all pairs with no
# spectrum work (bench/reader_speed.cpp, one pass), with zentri's MB/s as a
# fraction of each. The scripted and piped runs parse the text once (the survey
# comes from the segment pass); the interactive run twice, its survey's count
# in two halves on both cores, then the segments. And the transforms alone: the
# record's segments conditioned, transformed and their power added by the
# transform pool from memory, with no reading or survey (bench/transform_speed.cpp),
# on one thread and on every core, with each run's wall time as a multiple of
# the time on every core.
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
  cmake --build "$build" -j2 --target zentri zentri_ref zentri_core zentri_fast_reader; } >/dev/null
mkdir -p "$scratch"
g++ -O2 -std=c++17 -o "$scratch/gen_record" bench/gen_record.cpp -lsndfile

# Makes the record of n pairs (once; kept for later runs, never a partial one).
record_of() {
  local n=$1 file="$scratch/record_$1.txt"
  [ -s "$file" ] || { "$scratch/gen_record" "$n" >"$file.part" && mv "$file.part" "$file"; }
  echo "$file"
}

# Makes the float WAV of n samples (once; kept for later runs, never a partial one).
wav_of() {
  local n=$1 file="$scratch/record_$1.wav"
  [ -s "$file" ] || { "$scratch/gen_record" "$n" "$file.part" && mv "$file.part" "$file"; }
  echo "$file"
}

# The name a record is given in a run's folder: rec.wav for a WAV, rec.txt for text.
run_name() {
  case "$1" in *.wav) echo rec.wav ;; *) echo rec.txt ;; esac
}

# Runs a command in a fresh folder holding the record as rec.txt (rec.wav for a WAV), under
# /usr/bin/time; prints "wall cpu mbps rss_kb" and leaves its output there. The command
# reads its standard input from the file stdin.txt of the folder (the answers), or from
# a pipe out of cat over the record when feed is set. The run counts when its exit
# status is expect (default 0) and it left a non-empty file result (default
# out/A_G2Hz.psd); otherwise it prints "failed (...)" instead of figures.
measure() {
  local record=$1 dir=$2
  shift 2
  rm -rf "$dir" && mkdir -p "$dir" && ln -s "$record" "$dir/$(run_name "$record")"
  printf '%s' "${answers:-}" >"$dir/stdin.txt"
  local start=$EPOCHREALTIME
  (
    cd "$dir" && set +e
    if [ -n "${feed:-}" ]; then
      # shellcheck disable=SC2002 # the record must come through a pipe, as from another program
      cat "$feed" | /usr/bin/time -v -o time.txt "$@" >console.txt 2>stderr.txt
      echo "${PIPESTATUS[1]} ${PIPESTATUS[0]}" >status.txt
    else
      /usr/bin/time -v -o time.txt "$@" <stdin.txt >console.txt 2>stderr.txt
      echo "$? 0" >status.txt
    fi
  )
  local stop=$EPOCHREALTIME status feeder
  read -r status feeder <"$dir/status.txt"
  if [ "$status" != "${expect:-0}" ]; then
    echo "failed (exit $status)"
  elif [ ! -s "$dir/${result:-out/A_G2Hz.psd}" ]; then
    echo "failed (exit $status, no ${result:-out/A_G2Hz.psd})"
  elif [ "$feeder" != 0 ]; then
    echo "failed (cat exit $feeder)"
  else
    figures "$record" "$dir/time.txt" "$start" "$stop"
  fi
}

# Prints "wall cpu mbps rss_kb" of a finished run from its clock and its time.txt.
figures() {
  local bytes cpu rss
  bytes=$(stat -L -c %s "$1")
  cpu=$(awk -F': ' '/User time|System time/ { s += $2 } END { print s }' "$2")
  rss=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$2")
  awk -v a="$3" -v z="$4" -v c="$cpu" -v b="$bytes" -v r="$rss" \
      'BEGIN { w = z - a; printf "%.3f %.2f %.1f %d\n", w, c, b / 1e6 / w, r }'
}

# True when a runner's figures tell of a failed run.
failed() {
  [ "${1%% *}" = failed ]
}

# Runs zentri (or zentri_ref) interactively on a record with m samples per
# segment, answering the dialogue from standard input; the dialogue always ends
# with exit status 1.
run_one() {
  local program=$1 record=$2 m=$3 dir=$4
  # the answers end with the key press that ends the run
  answers=$(printf 'rec.txt\n1\n1\n%s\n1\n2\nx' "$m") expect=1 result=A_G2Hz.psd \
    measure "$record" "$dir" "$root/$build/$program"
}

# Runs zentri scripted on a record (acceleration in G, m = 1024, the default mean
# removal and Hanning window), naming the record file, or "-" with feed set.
run_scripted() {
  local record=$1 dir=$2 name=$3
  measure "$record" "$dir" "$root/$build/zentri" -q acceleration -u G -m 1024 -o out "$name"
}

# Runs zentri scripted on the record piped into its standard input as "-".
run_piped() {
  feed=rec.txt run_scripted "$1" "$2" -
}

# Runs the peer on a record (pandas + scipy for text, scipy for a WAV); keeps
# its own time of each run in peer_inner.txt.
run_peer() {
  local name
  name=$(run_name "$1")
  result=peer_psd.txt measure "$1" "$scratch/run_peer" "$peer_python" "$root/bench/peer_welch.py" \
    "$name" peer_psd.txt
  tail -n 1 "$scratch/run_peer/stderr.txt" >>"$scratch/peer_inner.txt"
}

# Measures the peer on a record; prints its best figures and, as a sixth field,
# its own fastest time from reading to writing, without Python's start and imports.
best_peer() {
  local figures
  : >"$scratch/peer_inner.txt"
  figures=$(run_best run_peer "$1")
  if failed "$figures"; then echo "$figures"; return; fi
  echo "$figures $(sort -n "$scratch/peer_inner.txt" | head -n 1)"
}

# Repeats a runner RUNS times; prints the figures of the fastest run and, as
# a fifth field, the slowest wall time over the fastest. The first failed run
# ends the repeats, and its "failed (...)" is printed instead.
run_best() {
  local i line all=""
  for ((i = 0; i < runs; i++)); do
    line=$("$@")
    if failed "$line"; then echo "$line"; return; fi
    all+="$line"$'\n'
  done
  printf '%s' "$all" | sort -n |
    awk 'NR == 1 { best = $0; fast = $1 } { slow = $1 } END { printf "%s %.2f\n", best, slow / fast }'
}

# Prints one line of the table, or the label and the failure of a failed run.
report() {
  local label=$1 figures=$2
  if failed "$figures"; then printf '%-34s %s\n' "$label" "$figures"; return; fi
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
    failed "$figures" && exit 1
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

if [ "$mode" = reference ]; then
  header
  for m in 1024 65536; do
    fast=$(run_best run_one zentri "$record" "$m" "$scratch/run_fast_$m")
    ref=$(run_best run_one zentri_ref "$record" "$m" "$scratch/run_ref_$m")
    report "zentri, m=$m" "$fast"
    report "zentri_ref, m=$m" "$ref"
    if failed "$fast" || failed "$ref"; then
      echo "m=$m: a run failed, no ratio"
      continue
    fi
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

# Peak memory a zentri run may take, in KiB (16 MB).
rss_limit_kb=16384

# Prints the head of the goal table.
goal_header() {
  printf '%-32s %9s %9s %14s %11s %7s %7s %7s %5s  %s\n' run wall user+sys "peak RSS" input \
    spread "x peer" "w/o py" goal verdict
}

# Prints one row of the goal table: a run's figures, its peak memory against the
# limit, the peer's wall time (and the peer's own time without Python's start)
# over its wall time, and that ratio against the goal (empty goal: a peer's row).
goal_row() {
  local label=$1 figures=$2 peer=${3:-} goal=${4:-}
  if failed "$figures"; then
    if [ -z "$goal" ]; then printf '%-32s %s\n' "$label" "$figures"; return; fi
    printf '%-32s %-70s %5s  %s\n' "$label" "$figures" "${goal}x" "not met"
    return
  fi
  failed "$peer" && peer=
  awk -v l="$label" -v f="$figures" -v p="$peer" -v g="$goal" -v limit="$rss_limit_kb" 'BEGIN {
    split(f, x, " "); split(p, y, " ")
    printf "%-32s %7.3f s %7.2f s %6.1f MB %-4s %6.1f MB/s %7.2f", l, x[1], x[2], x[4] / 1024,
           g == "" ? "" : (x[4] <= limit ? "ok" : "over"), x[3], x[5]
    if (g == "") { printf "\n"; exit }
    if (p == "") { printf " %7s %7s %5s  %s\n", "-", "-", g "x", "no peer"; exit }
    r = y[1] / x[1]
    printf " %7.2f %7.2f %5s  %s\n", r, y[6] / x[1], g "x", (r >= g ? "met" : "not met")
  }'
}

# Prints the best MB/s of RUNS passes of a command over a file of the given size.
best_speed() {
  local bytes=$1 i start stop all=""
  shift
  for ((i = 0; i < runs; i++)); do
    start=$EPOCHREALTIME
    "$@"
    stop=$EPOCHREALTIME
    all+="$start $stop"$'\n'
  done
  printf '%s' "$all" | awk -v b="$bytes" '{ w = $2 - $1; if (NR == 1 || w < best) best = w }
                                          END { printf "%.1f\n", b / 1e6 / best }'
}

# Reads a file to /dev/null; reads it through a pipe into a second cat.
cat_to_null() { cat "$1" >/dev/null; }
# shellcheck disable=SC2002 # the cost of the pipe itself is what is measured
cat_through_pipe() { cat "$1" | cat >/dev/null; }

# Prints a limit's line: its label and MB/s, then each zentri run's MB/s as a
# fraction of it, given as pairs of a name and that run's figures.
limit_row() {
  local label=$1 speed=$2 line
  shift 2
  line=$(printf '%-34s %9.1f MB/s ' "$label" "$speed")
  while [ $# -ge 2 ]; do
    if failed "$2"; then
      line+=" $1: failed;"
    else
      line+=$(awk -v n="$1" -v z="$2" -v s="$speed" \
                  'BEGIN { split(z, x, " "); printf " %s %.2f;", n, x[3] / s }')
    fi
    shift 2
  done
  echo "${line%;}"
}

wav=$(wav_of "$pairs")
if [ -n "$peer_python" ]; then
  text_peer=$(best_peer "$record")
  wav_peer=$(best_peer "$wav")
else
  text_peer="failed (no peer)" wav_peer="failed (no peer)"
  echo "pandas + scipy peer: skipped (no python3 with pandas and scipy; Debian packages:"
  echo "python3-pandas python3-scipy; or set PEER_PYTHON)"
fi
# The figures of each zentri run, by the name of its folder under SCRATCH (run_NAME).
declare -A fig
fig[scripted]=$(run_best run_scripted "$record" "$scratch/run_scripted" rec.txt)
fig[piped]=$(run_best run_piped "$record" "$scratch/run_piped")
fig[interactive]=$(run_best run_one zentri "$record" 1024 "$scratch/run_interactive")
fig[wav]=$(run_best run_scripted "$wav" "$scratch/run_wav" rec.wav)

echo "peak RSS against $rss_limit_kb KiB; x peer = the peer's wall time over zentri's (w/o py:"
echo "the peer's own time from reading to writing, without Python's start and imports)"
goal_header
goal_row "zentri scripted, rec.txt" "${fig[scripted]}" "$text_peer" 20
goal_row "zentri piped, cat rec.txt | -" "${fig[piped]}" "$text_peer" 16
goal_row "zentri interactive" "${fig[interactive]}" "$text_peer" 12
goal_row "zentri scripted, float WAV" "${fig[wav]}" "$wav_peer" 10
if [ -n "$peer_python" ]; then
  goal_row "pandas read_csv + scipy welch" "$text_peer"
  goal_row "scipy wavfile.read + welch, WAV" "$wav_peer"
fi
failed "$text_peer" || printf '%-32s %7.3f s (fastest of the runs)\n' "  pandas, reading to savetxt" \
  "$(echo "$text_peer" | cut -d' ' -f6)"
failed "$wav_peer" || printf '%-32s %7.3f s (fastest of the runs)\n' "  wavfile, reading to savetxt" \
  "$(echo "$wav_peer" | cut -d' ' -f6)"

# What each failed run said last on standard error.
for run in scripted piped interactive wav; do
  failed "${fig[$run]}" || continue
  said=$(tail -n 1 "$scratch/run_$run/stderr.txt")
  echo "the $run run failed: ${said:-nothing on standard error}"
done

# The same PSD whichever way the record came in.
if ! failed "${fig[scripted]}"; then
  for run in piped interactive; do
    failed "${fig[$run]}" && continue
    psd=$scratch/run_$run/out/A_G2Hz.psd
    [ "$run" = interactive ] && psd=$scratch/run_$run/A_G2Hz.psd
    if cmp -s "$psd" "$scratch/run_scripted/out/A_G2Hz.psd"; then
      echo "zentri: the $run and the scripted run wrote the same PSD"
    else
      echo "zentri: THE $run AND THE SCRIPTED RUN WROTE DIFFERENT PSD FILES"
    fi
  done
fi

# Builds bench/NAME.cpp into SCRATCH/NAME against the Release build's core library.
link_bench_program() {
  g++ -O2 -std=c++17 -ffp-contract=off -Isrc -o "$scratch/$1" "bench/$1.cpp" \
    "$build/CMakeFiles/zentri_fast_reader.dir/src/input/pair_reader_choice.cpp.o" \
    "$build/libzentri_core.a" -lsndfile -pthread
}

link_bench_program reader_speed
bytes=$(stat -L -c %s "$record")
parse_line=$("$scratch/reader_speed" "$record" "$runs")
parse=$(echo "$parse_line" | sed -n 's/.*: \([0-9.]*\) MB\/s.*/\1/p')
echo "limits of the machine, best of $runs (zentri's MB/s as a fraction of each; the scripted and"
echo "piped runs parse the text once, the interactive run twice, its survey's count on both cores):"
limit_row "cat rec.txt > /dev/null" "$(best_speed "$bytes" cat_to_null "$record")" \
  scripted "${fig[scripted]}" interactive "${fig[interactive]}"
limit_row "cat rec.txt | cat > /dev/null" "$(best_speed "$bytes" cat_through_pipe "$record")" \
  piped "${fig[piped]}"
limit_row "scanner alone, one pass" "$parse" scripted "${fig[scripted]}" piped "${fig[piped]}" \
  interactive "${fig[interactive]}"
echo "  (the scanner: $parse_line)"
limit_row "cat rec.wav > /dev/null" "$(best_speed "$(stat -L -c %s "$wav")" cat_to_null "$wav")" \
  "float WAV" "${fig[wav]}"

# The transforms alone: the record's segments handed to the transform pool from
# memory (bench/transform_speed.cpp), on one thread and on every core, and each
# run's wall time as a multiple of the time on every core.
cores=$(nproc)
link_bench_program transform_speed
transform_line=$("$scratch/transform_speed" "$pairs" 1024 "$runs" "$cores" || true)
transforms=$(echo "$transform_line" | sed -n 's/.*, \([0-9.]*\) s on [0-9]* threads$/\1/p')
if [ -z "$transforms" ]; then
  echo "transforms alone: failed (${transform_line:-no output})"
else
  line=$(printf '%-34s %9.3f s    ' "transforms alone, $cores threads" "$transforms")
  for run in scripted piped interactive wav; do
    failed "${fig[$run]}" && continue
    line+=$(awk -v n="$run" -v z="${fig[$run]}" -v t="$transforms" \
                'BEGIN { split(z, x, " "); printf " %s %.2fx;", n, x[1] / t }')
  done
  echo "${line%;}"
  echo "  (the transforms: $transform_line; each run's wall as a multiple of them)"
fi

# Makes the 16-channel CSV export of the record's first n lines (once; kept for
# later runs, never a partial one): a header, then time and 16 amplitudes, each
# channel the record's amplitude times its own factor.
channels_of() {
  local n=$1 file="$scratch/channels16_$1.csv"
  if [ ! -s "$file" ]; then
    awk -v n="$n" 'BEGIN { printf "time"; for (c = 1; c <= 16; c++) printf ",ch%d", c; print "" }
      NR > n { exit }
      { printf "%s", $1; for (c = 1; c <= 16; c++) printf ",%.7g", $2 * (1 + c / 8); print "" }' \
      "$record" >"$file.part" && mv "$file.part" "$file"
  fi
  echo "$file"
}

# Runs zentri scripted on threads threads (acceleration in G, m = 65536), with
# the further arguments before the record.
run_threads() {
  local record=$1 dir=$2 threads=$3
  shift 3
  measure "$record" "$dir" "$root/$build/zentri" --threads "$threads" -q acceleration -u G \
    -m 65536 "$@" -o out "$(run_name "$record")"
}

# Prints a row of the threads table: the default threads against --threads 1,
# the speed-up, each run's peak memory and the larger against the limit (KiB).
threads_row() {
  local label=$1 many=$2 one=$3 limit=$4
  if failed "$many" || failed "$one"; then
    printf '%-34s every core: %s; one thread: %s\n' "$label" "$many" "$one"
    return
  fi
  awk -v l="$label" -v a="$many" -v b="$one" -v limit="$limit" 'BEGIN {
    split(a, x, " "); split(b, y, " "); rss = x[4] > y[4] ? x[4] : y[4]
    printf "%-34s %7.3f s %7.3f s %7.2fx %6.1f MB %6.1f MB  %s %.0f MB\n", l, x[1], y[1],
           y[1] / x[1], x[4] / 1024, y[4] / 1024, rss <= limit ? "within" : "OVER", limit / 1024
  }'
}

# Tells whether the two runs' result folders hold the same bytes.
same_files() {
  if diff -r -q "$scratch/run_$1/out" "$scratch/run_$2/out" >/dev/null; then
    echo "  $3: every file the same on every core as on one thread"
  else
    echo "  $3: THE FILES DIFFER between every core and one thread"
  fi
}

channels=$(channels_of "${CHANNEL_LINES:-1000000}")
fig[t_big]=$(run_best run_threads "$record" "$scratch/run_t_big" "$cores")
fig[t1_big]=$(run_best run_threads "$record" "$scratch/run_t1_big" 1)
fig[t_ch]=$(result=out/ch1/A_G2Hz.psd run_best run_threads "$channels" "$scratch/run_t_ch" "$cores" \
  --columns all)
fig[t1_ch]=$(result=out/ch1/A_G2Hz.psd run_best run_threads "$channels" "$scratch/run_t1_ch" 1 \
  --columns all)
echo "the transforms on every core ($cores threads) against --threads 1, m = 65536:"
printf '%-34s %9s %9s %8s %9s %9s  %s\n' run "$cores thr" "1 thread" speed-up "RSS $cores" "RSS 1" \
  "peak memory"
threads_row "rec.txt, m=65536" "${fig[t_big]}" "${fig[t1_big]}" 16384
threads_row "16-channel CSV, m=65536" "${fig[t_ch]}" "${fig[t1_ch]}" 40960
failed "${fig[t_big]}" || failed "${fig[t1_big]}" || same_files t_big t1_big "rec.txt, m=65536"
failed "${fig[t_ch]}" || failed "${fig[t1_ch]}" || same_files t_ch t1_ch "16-channel CSV"
uptime
