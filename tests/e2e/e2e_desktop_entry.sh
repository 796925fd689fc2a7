#!/usr/bin/env bash
# A file manager's "Open with Tabulet" runs the desktop entry's Exec line with the file in
# place of %f; the window it opens must be the one the entry describes (StartupWMClass), or
# docks and task bars show it as a stranger.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"

entry=$(dirname "$0")/../../packaging/io.github.tabulet.Tabulet.desktop
read -r -a exec_words <<<"$(sed -n 's/^Exec=//p' "$entry")"
wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
[[ ${exec_words[0]} == tabulet ]] || fail "the desktop entry runs '${exec_words[0]}'"

# A name with a space, as file managers pass it: one argument, not split.
file="$WORK/files/Address Book.DF"
printf '{\r\n"Ann\r\n555 0100"\r\n}\r\n' >"$file"
arguments=()
for word in "${exec_words[@]:1}"; do
    [[ $word == %f ]] && word=$file
    arguments+=("$word")
done
start_tabulet "${arguments[@]}"
wait_caption "$MAIN_WINDOW" "Tabulet 1.0 - Address Book.DF"
classes=$(xprop -id "$MAIN_WINDOW" WM_CLASS)
[[ $classes == *"\"$wm_class\""* ]] || fail "the window's class is $classes, the entry expects '$wm_class'"
exit_without_saving
echo "passed"
