# Shared steps of the end-to-end scripts: a private X server, the real tabulet binary with its
# own settings and runtime folders, and waiting for windows, captions and files with a time
# limit on every step, so that a hang fails the test instead of blocking the run.
#
# A script sets TABULET, X11_PROBE and WORK (its own scratch folder) through e2e_begin, then
# drives the program with xdotool. Every failure leaves a screenshot in WORK and prints its path.

set -euo pipefail

# Seconds allowed for one step: a window to appear, a caption to change, a file to be written.
STEP_SECONDS=${STEP_SECONDS:-20}

e2e_begin() {
    [[ $# -eq 3 ]] || { echo "usage: $0 TABULET X11_PROBE WORK" >&2; exit 2; }
    TABULET=$1 X11_PROBE=$2 WORK=$3 APP_PID='' XVFB_PID='' ON_EXIT=''
    rm -rf "$WORK"
    mkdir -p "$WORK/config" "$WORK/files"
    mkdir -m 700 "$WORK/run"
    # The same look everywhere, whatever desktop the developer runs: Qt's own Fusion style.
    export XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data XDG_RUNTIME_DIR=$WORK/run \
        QT_QPA_PLATFORM=xcb QT_STYLE_OVERRIDE=Fusion
    unset QT_QPA_PLATFORMTHEME
    # Under the sanitizers: libxkbcommon-x11 strndup()s a key name out of an X reply that has no
    # terminating zero, which strndup allows and strict string checks report all the same.
    export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}strict_string_checks=0
    # No session bus: the test must not reach, or start, the desktop's services.
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$WORK/run/no-bus
    # ON_EXIT is a command a script wants run when it ends, whether it passed or not.
    trap 'eval "$ON_EXIT" || true; stop "$APP_PID"; stop "$XVFB_PID"' EXIT
    # Xvfb picks a free display itself and tells us which one through -displayfd.
    Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN:-1024x768x24}" -nolisten tcp 3>"$WORK/display" \
        >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    wait_until grep -q '[0-9]' "$WORK/display" || { cat "$WORK/xvfb.log" >&2; fail "no Xvfb"; }
    export DISPLAY=:$(tr -dc '0-9' <"$WORK/display")
}

stop() { [[ -z $1 ]] || { kill "$1" && wait "$1"; } 2>/dev/null || true; }

# Runs a command every tenth of a second until it succeeds, for at most STEP_SECONDS.
wait_until() {
    for _ in $(seq $((STEP_SECONDS * 10))); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

fail() {
    echo "FAIL: $*" >&2
    [[ -n ${DISPLAY:-} ]] && timeout 10 import -window root "$WORK/failure.png" 2>/dev/null &&
        echo "screenshot: $WORK/failure.png" >&2
    [[ ! -s $WORK/tabulet.log ]] || { echo "--- tabulet's output:" && tail -n 40 "$WORK/tabulet.log"; } >&2
    exit 1
}

# Starts tabulet with the given arguments from the folder WORK/files and waits for its main
# window; MAIN_WINDOW is then that window's id.
start_tabulet() {
    (cd "$WORK/files" && exec "$TABULET" "$@") >"$WORK/tabulet.log" 2>&1 &
    APP_PID=$!
    MAIN_WINDOW=$(wait_window '^Tabulet 1\.0')
}

# Prints the id of the first visible window whose name matches the regular expression.
wait_window() {
    local found
    found=$(timeout "$STEP_SECONDS" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null |
        head -n 1) || true
    [[ -n $found ]] || fail "no window named like '$1' appeared"
    echo "$found"
}

no_window() { ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
wait_window_gone() { wait_until no_window "$1" || fail "the window named like '$1' did not close"; }

# Gives the keyboard to a window: without a window manager nobody else does.
focus() { timeout "$STEP_SECONDS" xdotool windowfocus --sync "$1" || fail "could not focus $1"; }
keys() { timeout "$STEP_SECONDS" xdotool key --delay 60 "$@" || fail "could not press $*"; }
type_text() { timeout "$STEP_SECONDS" xdotool type --delay 30 "$1" || fail "could not type '$1'"; }

# In the window named like PATTERN: types TEXT unless it is empty, presses KEYS, and waits for
# the window to close.
in_window() {
    local window
    window=$(wait_window "$1")
    focus "$window"
    [[ -z $2 ]] || type_text "$2"
    keys "${@:3}"
    wait_window_gone "$1"
}

# Answers the message box named like PATTERN with KEYS once its text is seen to contain TEXT.
# The text can be selected with the mouse (Fusion, the style used here, allows it): a click on
# the text, which sits at the top right of the icon, gives it the keyboard, then Ctrl+A and
# Ctrl+C copy it.
answer() {
    local box WIDTH HEIGHT X Y SCREEN WINDOW text
    box=$(wait_window "$1")
    focus "$box"
    eval "$(xdotool getwindowgeometry --shell "$box")"
    timeout "$STEP_SECONDS" xdotool mousemove --window "$box" $((WIDTH * 2 / 3)) 20 click 1 ||
        fail "could not click into window $box"
    keys ctrl+a ctrl+c
    sleep 0.3
    text=$(ASAN_OPTIONS=detect_leaks=0 timeout "$STEP_SECONDS" "$X11_PROBE" clipboard) ||
        fail "could not read the clipboard"
    [[ $text == *"$2"* ]] || fail "the message box says: $text"$'\n'"and not: $2"
    in_window "$1" "" "${@:3}"
}

has_caption() { [[ $(xdotool getwindowname "$1" 2>/dev/null) == "$2" ]]; }

wait_caption() {
    wait_until has_caption "$@" || fail "caption is '$(xdotool getwindowname "$1")', not '$2'"
}

# Waits until FILE holds exactly the bytes that printf makes of FORMAT.
expect_bytes() {
    printf "$2" >"$WORK/expected.bin"
    wait_until cmp -s "$1" "$WORK/expected.bin" && return 0
    { echo "--- expected:"; od -c "$WORK/expected.bin"; echo "--- in $1:"; od -c "$1"; } >&2 || true
    fail "$1 does not hold the expected bytes"
}

# Waits for tabulet to end by itself and checks that it ended well (under the sanitizers a
# report at exit makes the status non-zero).
expect_exit() {
    local status=0
    timeout "$STEP_SECONDS" tail --pid="$APP_PID" -f /dev/null || fail "tabulet is still running"
    wait "$APP_PID" || status=$?
    APP_PID=
    [[ $status -eq 0 ]] || fail "tabulet ended with status $status"
}

# File > Exit on a document with content, answering No to "Save before exiting?".
exit_without_saving() {
    focus "$MAIN_WINDOW"
    keys alt+f x
    in_window '^Save Current\?$' "" alt+n
    expect_exit
}
