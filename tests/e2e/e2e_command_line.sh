#!/usr/bin/env bash
# `tabulet FILE` opens FILE at start as File > Open does. It is run here as a file manager's
# "Open with Tabulet" runs it: the desktop entry's Exec line with the file in place of %f, a
# name with a space relative to the folder tabulet starts in. The window must be the one the
# entry describes (StartupWMClass), or docks and task bars show it as a stranger. A FILE that
# cannot be read is named in a message and leaves an empty, unnamed document.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"

entry=$(dirname "$0")/../../packaging/io.github.tabulet.Tabulet.desktop
read -r -a exec_words <<<"$(sed -n 's/^Exec=//p' "$entry")"
[[ ${exec_words[0]} == tabulet ]] || fail "the desktop entry runs '${exec_words[0]}'"
printf '{\r\n"Groceries\r\nmilk\r\nbread"\r\n"Empty"\r\n}\r\n' >"$WORK/files/Shopping List.DF"
arguments=("${exec_words[@]/\%f/Shopping List.DF}")
start_tabulet "${arguments[@]:1}"
wait_caption "$MAIN_WINDOW" "Tabulet 1.0 - Shopping List.DF"
wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
classes=$(xprop -id "$MAIN_WINDOW" WM_CLASS)
[[ $classes == *"\"$wm_class\""* ]] || fail "the window's class is $classes, not '$wm_class'"

# The headers are there: the second one, selected and given a text, is saved back into the
# same file. An edit after that, left unsaved by File > Exit answered No, is not.
focus "$MAIN_WINDOW"
keys Tab Down Tab
type_text "tea"
keys ctrl+s
saved='{\r\n"Groceries\r\nmilk\r\nbread"\r\n"Empty\r\ntea"\r\n}\r\n'
expect_bytes "$WORK/files/Shopping List.DF" "$saved"
type_text " unsaved"
exit_without_saving
expect_bytes "$WORK/files/Shopping List.DF" "$saved"

# A file that does not exist.
missing=$WORK/files/Missing.DF
start_tabulet "$missing"
answer '^Tabulet$' "\"$missing\"" Return
wait_caption "$MAIN_WINDOW" "Tabulet 1.0"
[[ ! -e $missing ]] || fail "opening $missing created it"
# An empty document: File > Exit ends the program without asking anything.
focus "$MAIN_WINDOW"
keys alt+f x
expect_exit
echo "passed"
