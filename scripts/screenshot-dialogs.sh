#!/usr/bin/env bash
# Takes a PNG screenshot of each dialog under Xvfb, to check that every text is readable and
# unclipped. Usage: scripts/screenshot-dialogs.sh BUILD_DIR OUTPUT_DIR
set -euo pipefail
build=${1:?build folder}
output=${2:?output folder}
tool=$build/tools/tabulet_show_dialog
mkdir -p "$output"

scratch=$(mktemp -d)
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 640x480x24 -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill "${shown:-}" "$xvfb" 2>/dev/null || true; rm -rf "$scratch"' EXIT
export DISPLAY=$display XDG_CONFIG_HOME=$scratch/config XDG_RUNTIME_DIR=$scratch/run
mkdir -p "$XDG_CONFIG_HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
# A home folder with a few folders, so that the browser shows what a user would see.
export HOME=$scratch/ann
mkdir -p "$HOME/Calculator files" "$HOME/Documents" "$HOME/Projects" "$HOME/.cache"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

for dialog in preferences browse about link variables transfer; do
    QT_QPA_PLATFORM=xcb "$tool" "$dialog" &
    shown=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$shown" | head -n 1)
    xdotool windowmove "$window" 10 10
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$window")"
    import -window root -crop "$((WIDTH + 20))x$((HEIGHT + 20))+0+0" "$output/$dialog.png"
    kill "$shown"
    wait "$shown" 2>/dev/null || true
    echo "screenshot: $output/$dialog.png"
done
