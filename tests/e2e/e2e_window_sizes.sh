#!/usr/bin/env bash
# Under a window manager the window keeps its fixed size until View > Resizable Window is on; then
# it resizes, never below that size, and fills the screen when left maximized. Screenshots in WORK.
source "$(dirname "$0")/lib.sh"
E2E_SCREEN=1920x1080x24
e2e_begin "$@"
for tool in openbox import; do command -v $tool >/dev/null || fail "$tool is missing"; done

openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
ON_EXIT="stop $!"
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_until wm_running || fail "openbox did not start"

geometry() { eval "$(xdotool getwindowgeometry --shell "$MAIN_WINDOW")"; }
window_size() { geometry && echo "${WIDTH}x${HEIGHT}"; }
has_size() { [[ $(window_size) == $1 ]]; } # a pattern
expect_size() { wait_until has_size "$1" || fail "the window is $(window_size), not $1"; }
resize_to() { timeout "$STEP_SECONDS" xdotool windowsize "$MAIN_WINDOW" "$1" "$2" || fail "no resize"; }
screenshot() {
    sleep 0.5 && geometry
    import -window root -crop "$((WIDTH + 20))x$((HEIGHT + 50))+$((X - 10))+$((Y - 40))" "$WORK/$1.png"
    echo "screenshot: $WORK/$1.png"
}

{ printf '{\r\n'; for n in $(seq 1 40); do printf '"Note %d\r\nThe text of note %d, long enough to wrap."\r\n' "$n" "$n"; done
  printf '}\r\n'; } >"$WORK/files/Notes.DF"

start_tabulet Notes.DF
fixed=$(window_size)
[[ $fixed == 371x* ]] || fail "the fixed window is $fixed"
resize_to 900 700 && sleep 0.5
expect_size "$fixed"
screenshot fixed

press alt+v r
MAIN_WINDOW=$(wait_window '^Tabulet 1\.0')
resize_to 800 600
expect_size 800x600
screenshot resizable
resize_to 200 150
expect_size "$fixed"

exit_without_saving
printf 'Maximized=1\n' >>"$WORK/config/Tabulet/Tabulet.conf"
start_tabulet Notes.DF
wait_until has_size '1920x*' || fail "the maximized window is $(window_size)"
screenshot maximized
echo "e2e_window_sizes: passed"
