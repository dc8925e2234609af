#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over the given sources, a few
# files to each of as many processes as there are cores; exits non-zero when any
# file draws a report.
#   tools/lint.sh CLANG_TIDY SOURCE_ROOT FILE...
set -euo pipefail
tidy=$1
root=$2
shift 2
flags=(-std=c++17 -I"$root/src" -I"$root/examples/generator" -D_FILE_OFFSET_BITS=64)
export ZENTRI_TIDY=$tidy ZENTRI_TIDY_FLAGS="${flags[*]}"
# The files come before "--" and the compiler's flags after it.
printf '%s\0' "$@" |
    xargs -0 -P "$(nproc)" -n 4 sh -c \
        '"$ZENTRI_TIDY" --quiet --warnings-as-errors="*" "$@" -- $ZENTRI_TIDY_FLAGS' tidy
