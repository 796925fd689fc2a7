#!/usr/bin/env bash
# A whole editing session: open a data file through File > Open and its dialog, pick a header
# with the keyboard, type into its text, add a header through Ctrl+H and its input box, save
# with Ctrl+S, and check the bytes on disk. The transfer header, stored as switched off, is
# switched on in File > Preferences..., and the next save starts with it. File > Exit asks
# "Save before exiting?", and Yes saves and ends the program.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"

mkdir -p "$XDG_CONFIG_HOME/Tabulet"
printf '[Preferences]\nASCII%%20Header=0\n' >"$XDG_CONFIG_HOME/Tabulet/Tabulet.conf"
file=$WORK/files/Shopping.DF
printf '{\r\n"Groceries\r\nmilk\r\nbread"\r\n"Empty"\r\n"Tasks\r\nfix the gate"\r\n}\r\n' >"$file"
start_tabulet
focus "$MAIN_WINDOW"
keys ctrl+o
in_window '^Open$' "$file" Return
wait_caption "$MAIN_WINDOW" "Tabulet 1.0 - Shopping.DF"

# The New Header button has the focus at start. Tab moves on to the list, where the first
# entry becomes current, Down selects the second ("Empty"), Tab moves on to the data field.
focus "$MAIN_WINDOW"
keys Tab Down Tab
type_text "call Bob"
keys ctrl+h
in_window '^New Header$' Phone Return
focus "$MAIN_WINDOW"
keys ctrl+s
records='{\r\n"Groceries\r\nmilk\r\nbread"\r\n"Empty\r\ncall Bob"\r\n"Tasks\r\nfix the gate"\r\n"Phone'
expect_bytes "$file" "$records"'"\r\n}\r\n'
wait_caption "$MAIN_WINDOW" "Tabulet 1.0 - Shopping.DF"

# File > Preferences... by its access keys. OK has the focus first; four Tabs reach the check
# box (Cancel, Browse..., the folder field, the box) and four Shift+Tabs come back to OK.
keys alt+f r
in_window '^Tabulet Preferences$' "" Tab Tab Tab Tab space shift+Tab shift+Tab shift+Tab shift+Tab space
# Saving does not end the session, nor do the preferences. The data field has the focus again:
# Tab Tab goes round to the list, End selects the new header, Tab comes back to its empty text.
focus "$MAIN_WINDOW"
keys Tab Tab End Tab
type_text "x"
keys ctrl+s
header='%%%%HP: T(3)A(D)F(.);\r\n'
expect_bytes "$file" "$header$records"'\r\nx"\r\n}\r\n'
type_text "y"
keys alt+f x
answer '^Save Current\?$' "Save before exiting?" alt+y
expect_exit
expect_bytes "$file" "$header$records"'\r\nxy"\r\n}\r\n'
echo "passed"
