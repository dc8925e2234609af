#!/usr/bin/env bash
# Builds the fuzz targets with clang++ and runs each for the given number of
# seconds (default 60), starting from its committed seeds in fuzz/corpus/<target>
# and growing its corpus in fuzz/corpus-grown/<target> (not committed).
# Prints the executions of each target; exits non-zero when a target finds a
# fault (the input is kept in build-fuzz/artifacts/).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=build-fuzz

targets=()
for source in fuzz/*_fuzz.cpp; do targets+=("$(basename "$source" .cpp)"); done

mkdir -p "$build/artifacts"
{ cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DZENTRI_FUZZ=ON -DZENTRI_TESTS=OFF && cmake --build "$build" -j2 --target "${targets[@]}"; } \
  >"$build/artifacts/build.log" 2>&1 || { cat "$build/artifacts/build.log"; exit 1; }

failed=0
for target in "${targets[@]}"; do
  grown=fuzz/corpus-grown/$target
  seeds=fuzz/corpus/$target
  mkdir -p "$grown" "$seeds"
  dict=()
  [ -f "fuzz/$target.dict" ] && dict=(-dict="fuzz/$target.dict")
  log=$build/artifacts/$target.log
  status=0
  "$build/fuzz/$target" "$grown" "$seeds" "${dict[@]}" -max_total_time="$seconds" \
      -timeout=60 -max_len=4096 -print_final_stats=1 \
      -artifact_prefix="$build/artifacts/$target-" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ "$status" -eq 0 ]; then
    echo "fuzz $target: ${runs:-?} executions in ${seconds} s, no findings"
  else
    echo "fuzz $target: FAULT FOUND (exit $status); log $log"
    tail -n 40 "$log"
    failed=1
  fi
done
exit $failed
