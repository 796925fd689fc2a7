#!/usr/bin/env bash
# Configures and builds one flavour of Tabulet: "release" (default) or "asan"; all of it, or
# only the target named after the flavour (the run command builds only the program).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
flavour=${1:-release}
target=${2:-}
case "$flavour" in
release) dir="$root/build"; extra=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
asan) dir="$root/build-asan"; extra=(-DCMAKE_BUILD_TYPE=Debug -DTABULET_SANITIZE=ON -DTABULET_BUILD_BENCH=OFF) ;;
*) echo "build: unknown flavour $flavour" >&2; exit 2 ;;
esac
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if [[ ! -f "$dir/build.ninja" ]]; then
    cmake -S "$root" -B "$dir" -G Ninja "${extra[@]}" "${launcher[@]}" >/dev/null
fi
cmake --build "$dir" -j "$(nproc)" ${target:+--target "$target"}
