#!/usr/bin/env bash
# Editing through the real keys and mouse: a word found with Ctrl+F and F3, a record moved with
# Ctrl+Shift+Down and another dragged with the mouse, and the saved file holding exactly that.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"

printf '{\r\n"Alpha\r\nred fox"\r\n"Beta\r\nblue fox"\r\n"Gamma"\r\n}\r\n' >"$WORK/files/Notes.DF"
start_tabulet Notes.DF
wait_caption "$MAIN_WINDOW" "Tabulet 1.0 - Notes.DF"

# The second "fox" is in Beta: F3 goes on from the first.
focus "$MAIN_WINDOW"
keys ctrl+f
find_window=$(wait_window '^Find$')
focus "$find_window"
type_text "fox"
keys Return
keys Escape
wait_window_gone '^Find$'
focus "$MAIN_WINDOW"
keys F3
keys ctrl+shift+Down
keys ctrl+s
expect_bytes "$WORK/files/Notes.DF" \
    '{\r\n"Alpha\r\nred fox"\r\n"Gamma"\r\n"Beta\r\nblue fox"\r\n}\r\n'

# Alpha, the first entry, dragged below the last one.
xdotool mousemove --window "$MAIN_WINDOW" 40 81 mousedown 1
for y in 85 90 95 100 105 110 115 120 125; do
    sleep 0.2
    xdotool mousemove --window "$MAIN_WINDOW" 40 "$y"
done
sleep 0.4
xdotool mouseup 1
keys ctrl+s
expect_bytes "$WORK/files/Notes.DF" \
    '{\r\n"Gamma"\r\n"Beta\r\nblue fox"\r\n"Alpha\r\nred fox"\r\n}\r\n'
focus "$MAIN_WINDOW"
keys alt+f x
in_window '^Save Current\?$' "" alt+n
expect_exit
echo "passed"
