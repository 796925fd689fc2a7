#!/usr/bin/env bash
# Killed at a random moment while typing, RUNS times over, tabulet offers the work back at the
# next start: all typed until two seconds before the kill, and nothing that was not typed.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"

RUNS=${RUNS:-20}
letters=abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789
file=$WORK/files/Log.DF
printf '{\r\n"Alpha"\r\n"Log"\r\n}\r\n' >"$file"
recovery=$XDG_DATA_HOME/Tabulet/recovery

saved_text() {
    local content
    content=$(<"$file")
    [[ $content == *'"Log"'* ]] && return 0
    content=${content#*Log$'\r\n'}
    printf '%s' "${content%%\"*}"
}

# Types a letter every tenth of a second, noting when each went out, until tabulet is killed.
type_until_killed() {
    local i=0
    : >"$WORK/typed"
    while kill -0 "$APP_PID" 2>/dev/null && ((i < 60)); do
        xdotool type "${letters:i:1}" 2>/dev/null || break
        date +%s%N >>"$WORK/typed"
        i=$((i + 1)) && sleep 0.1
    done
}

text=''
start_tabulet Log.DF
for run in $(seq "$RUNS"); do
    wait_caption "$MAIN_WINDOW" "Tabulet 1.0 - Log.DF"
    press Tab Down Tab ctrl+End
    delay=$((1200 + RANDOM % 2300))
    (sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))" && kill -9 "$APP_PID") &
    killer=$!
    type_until_killed
    wait "$killer" || true
    killed=$(date +%s%N)
    { wait "$APP_PID"; } 2>/dev/null || true
    APP_PID=
    needed=$(awk -v limit=$((killed - 2000000000)) '$1 <= limit { n++ } END { print n + 0 }' \
        "$WORK/typed")
    # One more letter may have gone out just before the kill without being noted.
    typed=$(($(wc -l <"$WORK/typed") + 1))
    if compgen -G "$recovery/*.recovery" >/dev/null; then
        start_tabulet
        answer '^Tabulet$' "Log.DF" Return
        press ctrl+s
        wait_until test ! -e "$recovery"/*.recovery || fail "run $run: the recovery file stayed after Save"
    else
        start_tabulet Log.DF
    fi
    got=$(saved_text)
    [[ $got == "$text"* ]] || fail "run $run: the record lost what it held: '$got', not '$text...'"
    added=${got#"$text"}
    [[ $added == "${letters:0:${#added}}" ]] || fail "run $run: '$added' was never typed"
    ((${#added} >= needed && ${#added} <= typed)) ||
        fail "run $run: ${#added} of $typed letters back, $needed were typed 2 s before the kill"
    echo "run $run: killed after ${delay} ms, ${#added} of $typed letters back (at least $needed)"
    text=$got
done
echo "passed"
