#!/usr/bin/env bash
# Screen readers: on the desktop's accessibility bus, the main window's controls and every
# toolbar button are found by the names a screen reader reads out, the toolbar's by their
# tool tips.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
# Debian's Python, which has pyatspi, whichever python3 comes first on the PATH.
python=/usr/bin/python3
"$python" -c 'import pyatspi' 2>/dev/null || fail "pyatspi is missing (python3-pyatspi)"
command -v dbus-daemon >/dev/null || fail "dbus-daemon is missing (dbus-daemon)"
[[ -x /usr/libexec/at-spi-bus-launcher ]] || fail "the accessibility bus is missing (at-spi2-core)"

# A session bus of the test's own, in a process group of its own, which the accessibility bus
# and its registry join when the program asks for them: one kill ends them all. Their sockets
# go to a short folder of their own, as a socket's path may be no longer than 107 bytes.
buses=$(mktemp -d /tmp/tabulet-buses.XXXXXX)
XDG_RUNTIME_DIR=$buses setsid dbus-daemon --session --nofork --address="unix:path=$buses/bus" \
    >"$WORK/bus.log" 2>&1 &
BUS_PID=$!
ON_EXIT='kill -- "-$BUS_PID" 2>/dev/null; wait "$BUS_PID" 2>/dev/null; rm -rf "$buses"'
wait_until test -S "$buses/bus" || fail "the session bus did not start"
export DBUS_SESSION_BUS_ADDRESS=unix:path=$buses/bus QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

start_tabulet
wanted=("push button: New Header..." "list: Headers:" "text: Data:")
for name in "New File" "Open File" "Save File" "Print File" Cut Copy Paste Preferences Undo Redo; do
    wanted+=("tool bar push button: $name")
done
timeout $((STEP_SECONDS + 10)) "$python" "$(dirname "$0")/accessible_controls.py" Tabulet \
    "$STEP_SECONDS" "${wanted[@]}" || fail "a screen reader does not find every control"

focus "$MAIN_WINDOW"
keys alt+f x
expect_exit
echo "passed"
