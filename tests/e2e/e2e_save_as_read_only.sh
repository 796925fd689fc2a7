#!/usr/bin/env bash
# Save As onto a file that cannot be written: the program says so and goes on, and the file
# keeps its old content. Root writes whatever the mode bits say, so the file lives on a
# read-only mount; only root can make one.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"

[[ $(id -u) -eq 0 ]] || skip "making a read-only file needs a read-only mount, which needs root"
locked=$WORK/locked
mkdir -p "$locked"
mount -t tmpfs -o size=64k tmpfs "$locked" 2>"$WORK/mount.log" ||
    skip "cannot mount a tmpfs here: $(cat "$WORK/mount.log")"
ON_EXIT="umount '$locked'"
printf '{\r\n"Old\r\nkeep me"\r\n}\r\n' >"$locked/Old.DF"
mount -o remount,ro "$locked" || fail "cannot make $locked read-only"

printf '{\r\n"New\r\nreplace it"\r\n}\r\n' >"$WORK/files/New.DF"
start_tabulet New.DF
wait_caption "$MAIN_WINDOW" "Tabulet 1.0 - New.DF"
focus "$MAIN_WINDOW"
keys alt+f a
dialog=$(wait_window '^Save As$')
focus "$dialog"
type_text "$locked/Old.DF"
keys Return
# Qt's dialog asks before replacing a file that exists, in a window of the same name.
question() {
    confirm=$(xdotool search --onlyvisible --name '^Save As$' | grep -vx "$dialog" | head -n 1)
}
wait_until question || fail "no question before replacing $locked/Old.DF"
focus "$confirm"
keys alt+y
wait_window_gone '^Save As$'
answer '^Tabulet$' "\"$locked/Old.DF\"" Return
expect_running
expect_bytes "$locked/Old.DF" '{\r\n"Old\r\nkeep me"\r\n}\r\n'

# The document still belongs to its own file, and saving there still works.
wait_caption "$MAIN_WINDOW" "Tabulet 1.0 - New.DF"
focus "$MAIN_WINDOW"
keys Tab space Tab ctrl+End
type_text "!"
keys ctrl+s
expect_bytes "$WORK/files/New.DF" '{\r\n"New\r\nreplace it!"\r\n}\r\n'
exit_without_saving
echo "passed"
