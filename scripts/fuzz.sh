#!/usr/bin/env bash
# Builds the data file fuzz targets (clang, libFuzzer, address and undefined-behaviour
# sanitizers) into build-fuzz/ and runs each for a bounded time, FUZZ_SECONDS (60 by default),
# starting from the seeds in fuzz/corpus/. Any crash, sanitizer report, broken round trip or
# runaway memory fails the run; the input that caused it is kept in build-fuzz/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${FUZZ_SECONDS:-60}
dir="$root/build-fuzz"

if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz: clang++ is missing; run scripts/setup.sh --test" >&2
    exit 1
fi
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if [[ ! -f "$dir/build.ninja" ]]; then
    cmake -S "$root/fuzz" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" >/dev/null
fi
cmake --build "$dir" -j 2

for target in read roundtrip; do
    corpus="$dir/corpus/$target"
    log="$dir/fuzz_$target.log"
    mkdir -p "$corpus"
    echo "fuzz: $target for ${seconds}s"
    if ! "$dir/fuzz_$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$dir/fuzz_$target-" \
        "$corpus" "$root/fuzz/corpus/$target" >"$log" 2>&1; then
        tail -n 60 "$log" >&2
        echo "fuzz: $target failed; the full log is $log" >&2
        exit 1
    fi
    grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$log" | sed "s/^/fuzz: $target /"
done
