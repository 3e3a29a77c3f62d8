#!/usr/bin/env bash
# Starts the real game under a virtual X server and drives it with real key
# presses: Esc on the first screen quits cleanly; a graphics mode that cannot
# be set is reported and ends with exit code 1; no display at all ends with
# exit code 1 and a message, never a crash.
# Usage: program_start_test.sh GAME FAIL_GRAPHICS_MODE_LIBRARY
set -uo pipefail
game=$1
fail_mode_lib=$2

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
check() { # description, then a command that must succeed
    local what=$1; shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

# Leaks inside the X libraries at exit are not ours; the preloaded library
# cannot come before the sanitizer runtime.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0:verify_asan_link_order=0"

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

wait_for_window() { # name; prints the window id
    for _ in $(seq 100); do
        if id=$(xdotool search --name "$1" 2>/dev/null | head -n 1) && [ -n "$id" ]; then
            # Keys go to the window under the pointer.
            xdotool mousemove --window "$id" 320 240
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# A press made before the game listens to the keyboard is lost, so press Esc
# again until the game has gone (10 s at most).
press_escape_until_gone() {
    for _ in $(seq 15); do
        kill -0 "$1" 2>/dev/null || return 0
        xdotool keydown Escape; sleep 0.2; xdotool keyup Escape
        sleep 0.5
    done
}

# Esc on the first screen: exit code 0, save file untouched.
# The game's data files lie beside it; it reads them from where it starts.
mkdir "$work/play" && cp -r "$(dirname "$game")"/. "$work/play/" && cd "$work/play" || exit 1
rm -f save.dat
printf '1 0' >save.dat
touch -d '2001-01-01 00:00' save.dat
"$game" >"$work/out" 2>&1 &
pid=$!
window=$(wait_for_window Quillforge)
check "the window opens, titled Quillforge" test -n "$window"
check "the window is 640 by 480" \
    sh -c "xdotool getwindowgeometry '$window' | grep -q 'Geometry: 640x480'"
press_escape_until_gone "$pid"
wait "$pid"
check "Esc quits with exit code 0 (was $?)" test "$?" -eq 0
check "save.dat is untouched" sh -c \
    "[ \"\$(cat save.dat)\" = '1 0' ] && [ \"\$(stat -c %Y save.dat)\" = \"\$(date -d '2001-01-01 00:00' +%s)\" ]"

# No save file: none is written by starting and quitting.
rm save.dat
"$game" >"$work/out" 2>&1 &
pid=$!
window=$(wait_for_window Quillforge)
press_escape_until_gone "$pid"
wait "$pid"
check "quits with exit code 0 without a save file" test "$?" -eq 0
check "no save file appears" test ! -e save.dat

# A graphics mode that cannot be set.
LD_PRELOAD="$fail_mode_lib" "$game" >"$work/out" 2>&1 &
pid=$!
message=
for _ in $(seq 100); do
    message=$(pgrep -a xmessage) && break
    sleep 0.1
done
check "the failure message names the problem" \
    sh -c "echo '$message' | grep -q 'Unable to set any graphic mode'"
sleep 0.5
xdotool key Return
for _ in $(seq 30); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
pkill xmessage 2>/dev/null
wait "$pid"
check "a failed graphics mode ends with exit code 1" test "$?" -eq 1

# No display at all.
env -u DISPLAY "$game" >"$work/out" 2>&1
status=$?
check "no display ends with exit code 1 (was $status)" test "$status" -eq 1
check "no display says why" grep -q "could not start the graphics library" "$work/out"

[ "$failures" -eq 0 ] && echo "all checks passed" || echo "$failures checks failed"
exit "$failures"
