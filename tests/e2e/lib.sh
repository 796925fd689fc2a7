# Shared steps of the end-to-end scripts: a private X server and the real tabulet with its own
# folders, every wait limited to STEP_SECONDS so that a hang fails instead of blocking the run.
set -euo pipefail
STEP_SECONDS=${STEP_SECONDS:-20}

e2e_begin() {
    [[ $# -eq 3 ]] || { echo "usage: $0 TABULET X11_PROBE WORK" >&2; exit 2; }
    TABULET=$1 X11_PROBE=$2 WORK=$3 APP_PID='' XVFB_PID='' ON_EXIT=''
    rm -rf "$WORK"
    mkdir -p "$WORK/config" "$WORK/files" && mkdir -m 700 "$WORK/run"
    export XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data XDG_RUNTIME_DIR=$WORK/run \
        QT_QPA_PLATFORM=xcb QT_STYLE_OVERRIDE=Fusion
    unset QT_QPA_PLATFORMTHEME
    # libxkbcommon-x11 strndup()s key names without a terminating zero, which strndup allows.
    export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}strict_string_checks=0
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$WORK/run/no-bus
    trap 'eval "$ON_EXIT" || true; stop "$APP_PID"; stop "$XVFB_PID"' EXIT
    Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN:-1024x768x24}" -nolisten tcp 3>"$WORK/display" \
        >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    wait_until grep -q '[0-9]' "$WORK/display" || { cat "$WORK/xvfb.log" >&2; fail "no Xvfb"; }
    export DISPLAY=:$(tr -dc '0-9' <"$WORK/display")
}

stop() { [[ -z $1 ]] || { kill "$1" && wait "$1"; } 2>/dev/null || true; }

wait_until() {
    for _ in $(seq $((STEP_SECONDS * 10))); do "$@" && return 0 || sleep 0.1; done
    return 1
}

fail() {
    echo "FAIL: $*" >&2
    [[ -n ${DISPLAY:-} ]] && timeout 10 import -window root "$WORK/failure.png" 2>/dev/null &&
        echo "screenshot: $WORK/failure.png" >&2
    [[ ! -s $WORK/tabulet.log ]] || { echo "--- tabulet's output:" && tail -n 40 "$WORK/tabulet.log"; } >&2
    exit 1
}

# Starts tabulet in WORK/files; MAIN_WINDOW is then its main window's id.
start_tabulet() {
    (cd "$WORK/files" && exec "$TABULET" "$@") >"$WORK/tabulet.log" 2>&1 &
    APP_PID=$!
    MAIN_WINDOW=$(wait_window '^Tabulet 1\.0')
}

wait_window() {
    local found; found=$(timeout "$STEP_SECONDS" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null |
        head -n 1) || true
    [[ -n $found ]] || fail "no window named like '$1' appeared"
    echo "$found"
}

no_window() { ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
wait_window_gone() { wait_until no_window "$1" || fail "the window named like '$1' did not close"; }

focus() { timeout "$STEP_SECONDS" xdotool windowfocus --sync "$1" || fail "could not focus $1"; }
keys() { timeout "$STEP_SECONDS" xdotool key --delay 60 "$@" || fail "could not press $*"; }
press() { focus "$MAIN_WINDOW" && keys "$@"; }
type_text() { timeout "$STEP_SECONDS" xdotool type --delay 30 "$1" || fail "could not type '$1'"; }

# in_window PATTERN TEXT KEYS...: types TEXT, if any, and KEYS there, and waits for it to close.
in_window() {
    local window; window=$(wait_window "$1")
    focus "$window"
    [[ -z $2 ]] || type_text "$2"
    keys "${@:3}"
    wait_window_gone "$1"
}

# answer PATTERN TEXT KEYS...: answers a message box once the text copied out of it holds TEXT.
answer() {
    local box WIDTH HEIGHT X Y SCREEN WINDOW text; box=$(wait_window "$1")
    focus "$box"
    eval "$(xdotool getwindowgeometry --shell "$box")"
    timeout "$STEP_SECONDS" xdotool mousemove --window "$box" $((WIDTH * 2 / 3)) 20 click 1 ||
        fail "could not click into window $box"
    keys ctrl+a ctrl+c && sleep 0.3
    text=$(ASAN_OPTIONS=detect_leaks=0 timeout "$STEP_SECONDS" "$X11_PROBE" clipboard) ||
        fail "could not read the clipboard"
    [[ $text == *"$2"* ]] || fail "the message box says: $text"$'\n'"and not: $2"
    in_window "$1" "" "${@:3}"
}

has_caption() { [[ $(xdotool getwindowname "$1" 2>/dev/null) == "$2" ]]; }
wait_caption() { wait_until has_caption "$@" || fail "caption is '$(xdotool getwindowname "$1")', not '$2'"; }

# expect_bytes FILE FORMAT: waits until FILE holds exactly what printf makes of FORMAT.
expect_bytes() {
    printf "$2" >"$WORK/expected.bin"
    wait_until cmp -s "$1" "$WORK/expected.bin" && return 0
    { echo "--- expected:"; od -c "$WORK/expected.bin"; echo "--- in $1:"; od -c "$1"; } >&2 || true
    fail "$1 does not hold the expected bytes"
}

# Waits for tabulet to end by itself, with status 0 (a sanitizer report at exit makes it not).
expect_exit() {
    timeout "$STEP_SECONDS" tail --pid="$APP_PID" -f /dev/null || fail "tabulet is still running"
    local status=0 && wait "$APP_PID" || status=$?
    APP_PID= && [[ $status -eq 0 ]] || fail "tabulet ended with status $status"
}

exit_without_saving() {
    press alt+f x
    in_window '^Save Current\?$' "" alt+n
    expect_exit
}
