#!/usr/bin/env bash
# Runs every benchmark of bench/ and prints its figures.
set -euo pipefail
build=$1
export QT_QPA_PLATFORM=offscreen
for b in "$build"/bench/bench_*; do
    [ -f "$b" ] && [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    "$b"
done
