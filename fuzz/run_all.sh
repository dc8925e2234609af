#!/usr/bin/env bash
# Builds the fuzz targets with clang++ and runs each for the given number of
# seconds (default 60), as many at once as there are cores, starting from its
# committed seeds in fuzz/corpus/<target> and growing its corpus in
# fuzz/corpus-grown/<target> (not committed).
#   fuzz/run_all.sh [SECONDS [BUILD]]
# BUILD is a folder configured with clang++, -DZENTRI_SANITIZE=ON and
# -DZENTRI_FUZZ=ON whose sources the targets share (CI's sanitizer build);
# without it the targets get a build of their own in build-fuzz.
# Prints the executions of each target; exits non-zero when a target finds a
# fault (the input is kept in BUILD/artifacts/).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=${2:-build-fuzz}

targets=()
for source in fuzz/*_fuzz.cpp; do targets+=("$(basename "$source" .cpp)"); done

mkdir -p "$build/artifacts"
configure=(true)
[ -n "${2:-}" ] || configure=(cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++
                              -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENTRI_FUZZ=ON -DZENTRI_TESTS=OFF)
{ "${configure[@]}" && cmake --build "$build" -j2 --target "${targets[@]}"; } \
  >"$build/artifacts/build.log" 2>&1 || { cat "$build/artifacts/build.log"; exit 1; }

# Runs one target for the given time; its log and exit status land in artifacts/.
run_target() {
  local target=$1 grown=fuzz/corpus-grown/$1 seeds=fuzz/corpus/$1 dict=() status=0
  mkdir -p "$grown" "$seeds"
  [ -f "fuzz/$target.dict" ] && dict=(-dict="fuzz/$target.dict")
  "$build/fuzz/$target" "$grown" "$seeds" "${dict[@]}" -max_total_time="$seconds" \
      -timeout=60 -max_len=4096 -print_final_stats=1 \
      -artifact_prefix="$build/artifacts/$target-" >"$build/artifacts/$target.log" 2>&1 || status=$?
  echo "$status" >"$build/artifacts/$target.status"
}

cores=$(nproc)
running=0
for target in "${targets[@]}"; do
  run_target "$target" &
  running=$((running + 1))
  if [ "$running" -ge "$cores" ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait

failed=0
for target in "${targets[@]}"; do
  log=$build/artifacts/$target.log
  status=$(cat "$build/artifacts/$target.status")
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
