#!/usr/bin/env bash
# Sets up what is missing, builds Tabulet and runs every test: the whole suite, then the whole
# suite again under the address and undefined-behaviour sanitizers, then the fuzz targets for
# a bounded time. Any failure or sanitizer report fails the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" --test

echo "== build"
"$root/scripts/build.sh" release
echo "== tests"
ctest --test-dir "$root/build" --output-on-failure -j 2

echo "== build with sanitizers"
"$root/scripts/build.sh" asan
echo "== tests with sanitizers"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
ctest --test-dir "$root/build-asan" --output-on-failure -j 2

if [[ -x "$root/scripts/fuzz.sh" ]]; then
    echo "== fuzzing"
    "$root/scripts/fuzz.sh"
fi

echo "== all tests passed"
