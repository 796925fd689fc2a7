#!/usr/bin/env bash
# The desktop's ways in and out: "tabulet %f" with a relative name holding a space, in a window
# of the desktop entry's StartupWMClass; File > Open Recent in the next run; a file dragged in
# from another program; and Export as PDF of the unsaved document, whose text reads back whole.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
command -v pdftotext >/dev/null || fail "pdftotext (poppler-utils) is missing"

printf '{\r\n"Groceries\r\nmilk\r\nbread"\r\n}\r\n' >"$WORK/files/Shop List.DF"
printf '{\r\n"Tasks\r\nfix the gate"\r\n"Long\r\n%s end\x8d"\r\n}\r\n' "$(seq -s ' ' 1 80)" \
    >"$WORK/files/Tasks.DF"
cp "$WORK/files/Tasks.DF" "$WORK/tasks.before"
start_tabulet "Shop List.DF"
wait_caption "$MAIN_WINDOW" "Tabulet 1.0 - Shop List.DF"
wm_class=$(sed -n 's/^StartupWMClass=//p' "$(dirname "$0")/../../packaging/io.github.tabulet.Tabulet.desktop")
classes=$(xprop -id "$MAIN_WINDOW" WM_CLASS)
[[ $classes == *"\"$wm_class\""* ]] || fail "the window's class is $classes, not '$wm_class'"
exit_without_saving

start_tabulet
press alt+f e 1
wait_caption "$MAIN_WINDOW" "Tabulet 1.0 - Shop List.DF"

# A drag from the probe's window to the header list; X sometimes loses a drop, so it is retried.
drag_to_list() {
    "$X11_PROBE" drag "$1" >"$WORK/drag.log" 2>&1 &
    local probe=$! source_window X Y WIDTH HEIGHT SCREEN WINDOW
    source_window=$(wait_window '^drag source$')
    eval "$(xdotool getwindowgeometry --shell "$MAIN_WINDOW")"
    timeout "$STEP_SECONDS" xdotool mousemove --window "$source_window" 30 30 mousedown 1
    for step in 1 2 3 4 5; do
        sleep 0.5 && xdotool mousemove $((630 - (630 - X - 130) * step / 5)) $((530 - (530 - Y - 100) * step / 5))
    done
    for _ in 1 2 3; do sleep 0.5; xdotool mousemove_relative 1 1; done
    sleep 0.5 && xdotool mouseup 1
    STEP_SECONDS=8 wait_until xdotool search --onlyvisible --name '^Save Current\?$' >/dev/null 2>&1 || true
    stop "$probe"
}
for attempt in 1 2 3; do
    drag_to_list "$WORK/files/Tasks.DF"
    xdotool search --onlyvisible --name '^Save Current\?$' >/dev/null 2>&1 && break
    [[ $attempt -lt 3 ]] || fail "three drags dropped nothing"
done
in_window '^Save Current\?$' "" alt+n
wait_caption "$MAIN_WINDOW" "Tabulet 1.0 - Tasks.DF"

focus "$MAIN_WINDOW"
xdotool mousemove --window "$MAIN_WINDOW" 40 81 click 1 mousemove --window "$MAIN_WINDOW" 100 250 click 1
keys ctrl+End
type_text " today"
keys alt+f t
in_window '^Export as PDF$' "$WORK/files/Tasks.pdf" Return
wait_until test -s "$WORK/files/Tasks.pdf" || fail "no PDF was written"
text=$(pdftotext "$WORK/files/Tasks.pdf" - | tr -s ' \n\t' ' ')
[[ $text == "File name: Tasks.DF Date: "*" Tasks fix the gate today Long 1 2 3 "* &&
    $text == *" 78 79 80 end"$'\xe2\x86\x92'* ]] || fail "the PDF reads: $text"
cmp -s "$WORK/files/Tasks.DF" "$WORK/tasks.before" || fail "exporting saved the document"
exit_without_saving
echo "passed"
