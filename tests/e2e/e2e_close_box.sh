#!/usr/bin/env bash
# The window's close box asks "Save before exiting?" as File > Exit does: Cancel keeps the
# program and the document, Yes saves and ends it.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"

file=$WORK/files/Close.DF
printf '{\r\n"Alpha\r\none"\r\n}\r\n' >"$file"

start_tabulet
open_with_dialog "$file"
wait_caption "$MAIN_WINDOW" "Tabulet 1.0 - Close.DF"
focus "$MAIN_WINDOW"
keys Tab space Tab ctrl+End
type_text " two"

close_box "$MAIN_WINDOW"
prompt=$(wait_window '^Save Current\?$')
expect_message "$prompt" "Save before exiting?"
focus "$prompt"
keys Escape
wait_window_gone '^Save Current\?$'
expect_running
wait_caption "$MAIN_WINDOW" "Tabulet 1.0 - Close.DF"
expect_bytes "$file" '{\r\n"Alpha\r\none"\r\n}\r\n'

close_box "$MAIN_WINDOW"
prompt=$(wait_window '^Save Current\?$')
focus "$prompt"
keys alt+y
expect_exit
expect_bytes "$file" '{\r\n"Alpha\r\none two"\r\n}\r\n'
echo "passed"
