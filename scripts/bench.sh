#!/usr/bin/env bash
# Builds Tabulet optimised into build/ and runs every benchmark under build/bench/. Each prints
# its figures beside a baseline measured in the same run; compare figures within one run only.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" release

shopt -s nullglob
ran=0
for bench in "$root"/build/bench/bench_*; do
    [[ -f "$bench" && -x "$bench" ]] || continue
    echo "== $(basename "$bench")"
    QT_QPA_PLATFORM=offscreen "$bench"
    ran=$((ran + 1))
done
if [[ $ran -eq 0 ]]; then
    echo "bench: no benchmark was built under $root/build/bench" >&2
    exit 1
fi
