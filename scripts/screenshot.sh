#!/usr/bin/env bash
# Shows the real Tabulet window under Xvfb and writes a PNG screenshot of it.
# Usage: scripts/screenshot.sh [OUTPUT.png] [-- TABULET ARGUMENTS...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
output=${1:-$root/build/screenshot.png}
shift || true
[[ "${1:-}" == "--" ]] && shift
"$root/scripts/setup.sh" --test
"$root/scripts/build.sh" release >/dev/null

scratch=$(mktemp -d)
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill "${app:-}" "$xvfb" 2>/dev/null || true; rm -rf "$scratch"' EXIT
export DISPLAY=$display XDG_CONFIG_HOME=$scratch/config XDG_RUNTIME_DIR=$scratch/run
mkdir -p "$XDG_CONFIG_HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

QT_QPA_PLATFORM=xcb "$root/build/tabulet" "$@" &
app=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tabulet')
xdotool windowmove "$window" 20 20
sleep 1
import -window root -crop 420x360+0+0 "$output"
echo "screenshot: $output"
