#!/usr/bin/env bash
# A whole editing session: open a data file through File > Open and its dialog, pick a header
# with the keyboard, type into its text, add a header through Ctrl+H and its input box, save
# with Ctrl+S, and check the bytes on disk.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"

file=$WORK/files/Shopping.DF
printf '{\r\n"Groceries\r\nmilk\r\nbread"\r\n"Empty"\r\n"Tasks\r\nfix the gate"\r\n}\r\n' >"$file"

start_tabulet
open_with_dialog "$file"
wait_caption "$MAIN_WINDOW" "Tabulet 1.0 - Shopping.DF"

# The New Header button has the focus at start. Tab moves on to the list, where the first
# entry becomes current, Down selects the second ("Empty"), Tab moves on to the data field.
focus "$MAIN_WINDOW"
keys Tab Down Tab
type_text "call Bob"

keys ctrl+h
input=$(wait_window '^New Header$')
focus "$input"
type_text "Phone"
keys Return
wait_window_gone '^New Header$'

focus "$MAIN_WINDOW"
keys ctrl+s
expect_bytes "$file" '{\r\n"Groceries\r\nmilk\r\nbread"\r\n"Empty\r\ncall Bob"\r\n"Tasks\r\nfix the gate"\r\n"Phone"\r\n}\r\n'
wait_caption "$MAIN_WINDOW" "Tabulet 1.0 - Shopping.DF"

# Saving does not end the session. The data field has the focus again: Tab Tab goes round to
# the list, End selects the new header, Tab comes back to its (empty) text.
keys Tab Tab End Tab
type_text "x"
keys ctrl+s
expect_bytes "$file" '{\r\n"Groceries\r\nmilk\r\nbread"\r\n"Empty\r\ncall Bob"\r\n"Tasks\r\nfix the gate"\r\n"Phone\r\nx"\r\n}\r\n'

# An edit left unsaved, then File > Exit answered No.
type_text " unsaved"
exit_without_saving
# The file keeps what the last save wrote.
expect_bytes "$file" '{\r\n"Groceries\r\nmilk\r\nbread"\r\n"Empty\r\ncall Bob"\r\n"Tasks\r\nfix the gate"\r\n"Phone\r\nx"\r\n}\r\n'
echo "passed"
