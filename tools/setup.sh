#!/usr/bin/env bash
# Sets up zentri on a Debian machine in one command, run as root from anywhere
# in the repository:
#   tools/setup.sh demo   install what is missing, build zentri and zentri-gen, run the demo
#   tools/setup.sh test   install what is missing, build, run the tests
# Only the packages that dpkg says are missing are installed.
set -euo pipefail
cd "$(dirname "$0")/.."

case "${1:-}" in
demo | test) ;;
*)
    echo "usage: tools/setup.sh demo|test" >&2
    exit 2
    ;;
esac

packages=(g++ cmake make libgtest-dev nlohmann-json3-dev libboost-math-dev libsndfile1-dev gnuplot-nox python3 tmux valgrind strace)
need=()
for pkg in "${packages[@]}"; do
    dpkg -s "$pkg" >/dev/null 2>&1 || need+=("$pkg")
done
if [ ${#need[@]} -gt 0 ]; then
    echo "setup: installing ${need[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq "${need[@]}"
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
if [ "$1" = demo ]; then
    cmake --build build -j2 --target zentri zentri-gen # zentri-gen makes the records of the examples
    examples/demo.sh build/zentri
else
    cmake --build build -j2
    ctest --test-dir build --output-on-failure -j2
fi
