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
    TABULET=$1
    X11_PROBE=$2
    WORK=$3
    rm -rf "$WORK"
    mkdir -p "$WORK/config" "$WORK/files"
    mkdir -m 700 "$WORK/run"
    export XDG_CONFIG_HOME=$WORK/config XDG_RUNTIME_DIR=$WORK/run QT_QPA_PLATFORM=xcb
    # Under the sanitizers: libxkbcommon-x11 strndup()s a key name out of an X reply that has no
    # terminating zero, which strndup allows and strict string checks report all the same.
    export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}strict_string_checks=0
    # The same look everywhere, whatever desktop the developer runs: Qt's own Fusion style.
    export QT_STYLE_OVERRIDE=Fusion
    unset QT_QPA_PLATFORMTHEME
    # No session bus: the test must not reach, or start, the desktop's services.
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$WORK/run/no-bus
    APP_PID=
    XVFB_PID=
    CLEANUP_STEPS=()
    trap e2e_cleanup EXIT
    start_xvfb
}

e2e_cleanup() {
    local step
    for step in "${CLEANUP_STEPS[@]}"; do
        eval "$step" || true
    done
    if [[ -n $APP_PID ]] && kill -0 "$APP_PID" 2>/dev/null; then
        kill "$APP_PID" 2>/dev/null || true
        wait "$APP_PID" 2>/dev/null || true
    fi
    if [[ -n $XVFB_PID ]]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
}

# Runs a shell command when the script ends, whether it passed or not.
on_exit() {
    CLEANUP_STEPS=("$1" "${CLEANUP_STEPS[@]}")
}

fail() {
    local shot=$WORK/failure.png
    echo "FAIL: $*" >&2
    if [[ -n ${DISPLAY:-} ]] && timeout 10 import -window root "$shot" 2>/dev/null; then
        echo "screenshot: $shot" >&2
    fi
    if [[ -s $WORK/tabulet.log ]]; then
        echo "--- tabulet's output:" >&2
        tail -n 40 "$WORK/tabulet.log" >&2
    fi
    exit 1
}

skip() {
    echo "SKIPPED: $*"
    exit 77
}

# Xvfb picks a free display itself and tells us which one through -displayfd.
start_xvfb() {
    local number=
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" \
        >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    for _ in $(seq $((STEP_SECONDS * 10))); do
        number=$(tr -dc '0-9' <"$WORK/display")
        [[ -n $number ]] && break
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    [[ -n $number ]] || { cat "$WORK/xvfb.log" >&2; fail "Xvfb did not start"; }
    export DISPLAY=:$number
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
    local pattern=$1 found
    found=$(timeout "$STEP_SECONDS" xdotool search --sync --onlyvisible --name "$pattern" \
        2>/dev/null | head -n 1) || true
    [[ -n $found ]] || fail "no window named like '$pattern' appeared"
    echo "$found"
}

# Waits until no visible window's name matches the regular expression.
wait_window_gone() {
    local pattern=$1
    for _ in $(seq $((STEP_SECONDS * 10))); do
        xdotool search --onlyvisible --name "$pattern" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "the window named like '$pattern' did not close"
}

# Gives the keyboard to a window: without a window manager nobody else does.
focus() {
    timeout "$STEP_SECONDS" xdotool windowfocus --sync "$1" ||
        fail "could not give the keyboard to window $1"
}

keys() {
    timeout "$STEP_SECONDS" xdotool key --delay 60 "$@" || fail "xdotool could not press $*"
}

type_text() {
    timeout "$STEP_SECONDS" xdotool type --delay 30 "$1" || fail "xdotool could not type '$1'"
}

caption_of() {
    xdotool getwindowname "$1" 2>/dev/null || true
}

wait_caption() {
    local window=$1 expected=$2
    for _ in $(seq $((STEP_SECONDS * 10))); do
        [[ $(caption_of "$window") == "$expected" ]] && return 0
        sleep 0.1
    done
    fail "caption is '$(caption_of "$window")', expected '$expected'"
}

# Waits until FILE holds exactly the bytes that printf makes of FORMAT.
expect_bytes() {
    local file=$1 format=$2
    printf "$format" >"$WORK/expected.bin"
    for _ in $(seq $((STEP_SECONDS * 10))); do
        cmp -s "$file" "$WORK/expected.bin" && return 0
        sleep 0.1
    done
    {
        echo "--- expected bytes:"
        od -c "$WORK/expected.bin"
        echo "--- bytes in $file:"
        od -c "$file" 2>&1
    } >&2
    fail "$file does not hold the expected bytes"
}

# Prints the text of a Qt message box. Its text can be selected with the mouse (Fusion, the
# style used here, allows it): a click on the text, which sits at the top right of the icon,
# gives it the keyboard, then Ctrl+A and Ctrl+C copy it.
message_box_text() {
    local window=$1 WIDTH HEIGHT X Y SCREEN WINDOW
    focus "$window"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    timeout "$STEP_SECONDS" xdotool mousemove --window "$window" $((WIDTH * 2 / 3)) 20 click 1 ||
        fail "could not click into window $window"
    keys ctrl+a ctrl+c
    sleep 0.3
    ASAN_OPTIONS=detect_leaks=0 timeout "$STEP_SECONDS" "$X11_PROBE" clipboard ||
        fail "could not read the clipboard"
}

expect_message() {
    local window=$1 wanted=$2 text
    text=$(message_box_text "$window")
    [[ $text == *"$wanted"* ]] || fail "the message box says:
$text
and not: $wanted"
}

# Asks a window to close as a window manager's close box does.
close_box() {
    timeout "$STEP_SECONDS" "$X11_PROBE" close "$1" || fail "could not ask window $1 to close"
}

expect_running() {
    sleep 0.5
    kill -0 "$APP_PID" 2>/dev/null || fail "tabulet has ended"
}

# Waits for tabulet to end by itself and checks that it ended well (under the sanitizers a
# report at exit makes the status non-zero).
expect_exit() {
    local status=0
    for _ in $(seq $((STEP_SECONDS * 10))); do
        kill -0 "$APP_PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$APP_PID" 2>/dev/null && fail "tabulet is still running"
    wait "$APP_PID" || status=$?
    APP_PID=
    [[ $status -eq 0 ]] || fail "tabulet ended with status $status"
}

# Opens PATH through File > Open with Qt's own file dialog: the full path typed, then Return.
open_with_dialog() {
    local path=$1 dialog
    focus "$MAIN_WINDOW"
    keys ctrl+o
    dialog=$(wait_window '^Open$')
    focus "$dialog"
    type_text "$path"
    keys Return
    wait_window_gone '^Open$'
}

# Writes the given lines into the settings file, as QSettings stores them.
seed_preferences() {
    mkdir -p "$XDG_CONFIG_HOME/Tabulet"
    printf '%s\n' '[Preferences]' "$@" >"$XDG_CONFIG_HOME/Tabulet/Tabulet.conf"
}

# File > Exit on a document with content, answering No to "Save before exiting?".
exit_without_saving() {
    local prompt
    focus "$MAIN_WINDOW"
    keys alt+f x
    prompt=$(wait_window '^Save Current\?$')
    focus "$prompt"
    keys alt+n
    expect_exit
}
