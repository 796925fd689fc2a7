#!/usr/bin/env bash
# `tabulet FILE` opens FILE at start as File > Open does; a FILE that cannot be read is named
# in a message and leaves an empty, unnamed document.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"

printf '{\r\n"Groceries\r\nmilk\r\nbread"\r\n"Empty"\r\n}\r\n' >"$WORK/files/List.DF"

# A name relative to the folder tabulet starts in, as a shell or a file manager gives it.
start_tabulet List.DF
wait_caption "$MAIN_WINDOW" "Tabulet 1.0 - List.DF"
# The headers are there: the second one, selected and given a text, is saved back into the
# same file.
focus "$MAIN_WINDOW"
keys Tab Down Tab
type_text "tea"
keys ctrl+s
expect_bytes "$WORK/files/List.DF" '{\r\n"Groceries\r\nmilk\r\nbread"\r\n"Empty\r\ntea"\r\n}\r\n'
exit_without_saving

# A file that does not exist.
missing=$WORK/files/Missing.DF
start_tabulet "$missing"
message=$(wait_window '^Tabulet$')
expect_message "$message" "\"$missing\""
focus "$message"
keys Return
wait_window_gone '^Tabulet$'
wait_caption "$MAIN_WINDOW" "Tabulet 1.0"
[[ ! -e $missing ]] || fail "opening $missing created it"
# An empty document: File > Exit ends the program without asking anything.
focus "$MAIN_WINDOW"
keys alt+f x
expect_exit
echo "passed"
