#!/usr/bin/env bash
# Plays the real game under a virtual X server with real key presses: the
# title menu's moves, and one short main run from NEW GAME back to the menu.
# Keeps a screenshot of the menu.
# Usage: menu_keys_test.sh PLAY_FOLDER SCREENSHOT_PATH
set -uo pipefail
play=$1
screenshot=$2

work=$(mktemp -d)
xvfb_pid=
game_pid=
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"

failures=0
check() {
    local what=$1; shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

mkdir "$work/play"
cp -r "$play"/. "$work/play/"
rm -f "$work/play/save.dat"
cd "$work/play" || exit 1

start_game() {
    ./grimbledom >"$work/out" 2>&1 &
    game_pid=$!
    for _ in $(seq 100); do
        window=$(xdotool search --name Quillforge 2>/dev/null | head -n 1) && [ -n "$window" ] && break
        sleep 0.1
    done
    # Keys go to the window under the pointer.
    xdotool mousemove --window "$window" 320 240
    # Wait until the logo shows: the menu is then polling the keyboard.
    for _ in $(seq 100); do
        level=$(import -window root -crop 400x1+120+170 -format '%[fx:maxima]' info: 2>/dev/null)
        awk -v l="${level:-0}" 'BEGIN { exit !(l > 0.5) }' && break
        sleep 0.1
    done
}

press() {
    for k in "$@"; do
        xdotool keydown "$k"; sleep 0.1; xdotool keyup "$k"; sleep 0.1
    done
}

# Exits within a few seconds with code 0, or reports what it did instead.
expect_exit_0() {
    for _ in $(seq 50); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$game_pid" 2>/dev/null; then
        echo "the game is still running"
        kill "$game_pid"; wait "$game_pid" 2>/dev/null; game_pid=
        return 1
    fi
    wait "$game_pid"; local status=$?; game_pid=
    [ "$status" -eq 0 ] || { echo "exit code $status:"; cat "$work/out"; return 1; }
}

# First mode open: every move key, ending on QUIT.
printf '1 0' >save.dat
start_game
import -window root "$screenshot"
press Down s w KP_2 KP_8 Down
press Return
check "every move key reaches QUIT, and Enter on it quits with 0" expect_exit_0
check "save.dat is left as it was" test "$(cat save.dat)" = "1 0"

# Both modes locked: down from NEW GAME lands on QUIT.
rm save.dat
start_game
press Down Return
check "without a save file, down lands on QUIT" expect_exit_0

# The colour at one point of the screen, as "r,g,b".
colour_at() {
    import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null |
        sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p' | head -n 1
}

# A short run: NEW GAME, the instructions, play, let go of Esc, game over,
# results, back on the menu, quit.
start_game
press Return
sleep 0.5
instructions=$(colour_at 5 5)
press space
sleep 2
sky=$(colour_at 5 100)
xdotool keydown Escape; sleep 0.3; xdotool keyup Escape
sleep 3.5 # the game-over fade takes about two seconds
results=$(colour_at 5 100)
press space
sleep 1
press Escape
check "the instructions show on black (was $instructions)" test "$instructions" = "0,0,0"
check "the run shows the sky (was $sky)" sh -c "[ -n '$sky' ] && [ '$sky' != '0,0,0' ]"
check "letting go of Esc ends the run on the results, on black (was $results)" test "$results" = "0,0,0"
check "after the results the menu is back, and Esc on it quits with 0" expect_exit_0
check "a low score writes no save file" test ! -e save.dat

[ "$failures" -eq 0 ] && echo "all checks passed" || echo "$failures checks failed"
exit "$failures"
