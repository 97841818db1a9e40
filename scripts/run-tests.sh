#!/usr/bin/env bash
# Runs every test headless. A sanitizer report makes the test, and so the run, fail.
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=0:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 300
