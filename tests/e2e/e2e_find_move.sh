#!/usr/bin/env bash
# A word found with Ctrl+F and F3, a record moved with Ctrl+Shift+Down and another dragged with
# the mouse, and the saved file holding exactly that.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"

printf '{\r\n"Alpha\r\nred fox"\r\n"Beta\r\nblue fox"\r\n"Gamma"\r\n}\r\n' >"$WORK/files/Notes.DF"
start_tabulet Notes.DF
wait_caption "$MAIN_WINDOW" "Tabulet 1.0 - Notes.DF"
press ctrl+f
in_window '^Find$' fox Return Escape
# The second "fox" is in Beta: F3 goes on from the first.
press F3 ctrl+shift+Down ctrl+s
expect_bytes "$WORK/files/Notes.DF" \
    '{\r\n"Alpha\r\nred fox"\r\n"Gamma"\r\n"Beta\r\nblue fox"\r\n}\r\n'

# Alpha, the first entry, dragged below the last one.
xdotool mousemove --window "$MAIN_WINDOW" 40 81 mousedown 1
for y in $(seq 85 5 125); do sleep 0.2 && xdotool mousemove --window "$MAIN_WINDOW" 40 "$y"; done
sleep 0.4 && xdotool mouseup 1
keys ctrl+s
expect_bytes "$WORK/files/Notes.DF" \
    '{\r\n"Gamma"\r\n"Beta\r\nblue fox"\r\n"Alpha\r\nred fox"\r\n}\r\n'
exit_without_saving
echo "passed"
