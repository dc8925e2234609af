#!/usr/bin/env bash
# Runs every fuzz target for a longer time by hand: the given seconds per
# target (default one hour), continuing from the corpus grown by earlier runs.
exec "$(dirname "$0")/run_all.sh" "${1:-3600}"
