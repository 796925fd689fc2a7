#!/usr/bin/env bash
# A whole editing session through the keyboard and the real dialogs, checked in the bytes saved;
# the transfer header, stored as off, is switched on in the preferences for the next save.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"

mkdir -p "$XDG_CONFIG_HOME/Tabulet"
printf '[Preferences]\nASCII%%20Header=0\n' >"$XDG_CONFIG_HOME/Tabulet/Tabulet.conf"
file=$WORK/files/Shopping.DF
printf '{\r\n"Groceries\r\nmilk\r\nbread"\r\n"Empty"\r\n"Tasks\r\nfix the gate"\r\n}\r\n' >"$file"
start_tabulet
press ctrl+o
in_window '^Open$' "$file" Return
wait_caption "$MAIN_WINDOW" "Tabulet 1.0 - Shopping.DF"

# From the New Header button, which has the focus at start, to "Empty" and on to its text.
press Tab Down Tab
type_text "call Bob"
keys ctrl+h
in_window '^New Header$' Phone Return
press ctrl+s
records='{\r\n"Groceries\r\nmilk\r\nbread"\r\n"Empty\r\ncall Bob"\r\n"Tasks\r\nfix the gate"\r\n"Phone'
expect_bytes "$file" "$records"'"\r\n}\r\n'
wait_caption "$MAIN_WINDOW" "Tabulet 1.0 - Shopping.DF"

# From OK, four Tabs reach the check box (Cancel, Browse..., the folder, the box) and back.
keys alt+f r
in_window '^Tabulet Preferences$' "" Tab Tab Tab Tab space shift+Tab shift+Tab shift+Tab shift+Tab space
# From the data field round to the list, End selects the new header, Tab reaches its text.
press Tab Tab End Tab
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
