#!/usr/bin/env bash
# The transfer header: with it switched off a save writes none; switched on in File >
# Preferences..., the next save starts with it.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"

seed_preferences 'ASCII%20Header=0'
file=$WORK/files/Notes.DF
printf '{\r\n"Todo\r\nwater plants"\r\n}\r\n' >"$file"

start_tabulet
open_with_dialog "$file"
wait_caption "$MAIN_WINDOW" "Tabulet 1.0 - Notes.DF"
# Tab takes the focus to the list, whose first entry becomes current; Space selects it.
focus "$MAIN_WINDOW"
keys Tab space Tab ctrl+End
type_text "!"
keys ctrl+s
expect_bytes "$file" '{\r\n"Todo\r\nwater plants!"\r\n}\r\n'

# File > Preferences... by its access keys. OK has the focus first; four Tabs reach the check
# box (Cancel, Browse..., the folder field, the box) and four Shift+Tabs come back to OK.
keys alt+f r
preferences=$(wait_window '^Tabulet Preferences$')
focus "$preferences"
keys Tab Tab Tab Tab space shift+Tab shift+Tab shift+Tab shift+Tab space
wait_window_gone '^Tabulet Preferences$'

focus "$MAIN_WINDOW"
keys ctrl+s
expect_bytes "$file" '%%%%HP: T(3)A(D)F(.);\r\n{\r\n"Todo\r\nwater plants!"\r\n}\r\n'

# Cancel keeps what is stored: the box is switched off and Cancel pressed, and the next save
# still writes the header.
keys alt+f r
preferences=$(wait_window '^Tabulet Preferences$')
focus "$preferences"
keys Tab Tab Tab Tab space shift+Tab shift+Tab shift+Tab space
wait_window_gone '^Tabulet Preferences$'
# The data field has the focus again, with the entry still selected.
focus "$MAIN_WINDOW"
keys ctrl+End
type_text "?"
keys ctrl+s
expect_bytes "$file" '%%%%HP: T(3)A(D)F(.);\r\n{\r\n"Todo\r\nwater plants!?"\r\n}\r\n'
echo "passed"
