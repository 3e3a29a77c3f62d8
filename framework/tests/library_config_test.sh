#!/usr/bin/env bash
# The graphics library's own settings file never hangs the game. One the
# library could not read, beside the program or in $HOME, ends the game at
# once with a message and exit code 1 and stays as it was; one in the folder
# the game is started from is not the library's and changes nothing. A
# system the library does not have is reported as the library failing to
# start, and "no display" only when there is none.
# Usage: library_config_test.sh GAME
set -uo pipefail
game=$1

. "$(dirname "$0")/xvfb_session.sh"

# No settings of this machine's own.
export HOME="$work/home"
unset ALLEGRO
mkdir "$HOME"

xvfb_begin "" 800x600

# The library looks beside the program itself, so the program is copied.
mkdir "$work/game"
cp "$game" "$work/game/grimbledom"

run_game() { # runs the copy in the current folder with a generous limit
    timeout 60 "$work/game/grimbledom" >"$work/out" 2>&1
}

refused() { # settings file; the game must refuse it, name it and leave it be
    cp "$1" "$work/before"
    run_game
    local status=$?
    check "$2: exit code 1, no hang (was $status)" test "$status" -eq 1
    check "$2: the message names the file" grep -q "settings file $1: it is not a text file" "$work/out"
    check "$2: the file is unchanged" cmp -s "$1" "$work/before"
}

cd "$work/game" || exit 1
printf '\xfd\xbe\x86\x99\xb1\xb6' >allegro.cfg
refused "$work/game/allegro.cfg" "six bytes beside the program"
# Plain text just before the character keeps it whole, whatever comes before.
{ head -c 2000 /dev/urandom; printf '\n# ab\n\n\xfd\xbe\x86\x99\xb1\xb6'; head -c 2083 /dev/urandom; } >allegro.cfg
refused "$work/game/allegro.cfg" "4 KiB beside the program"
head -c $((10 << 20)) /dev/urandom >allegro.cfg
refused "$work/game/allegro.cfg" "10 MiB beside the program"
mv allegro.cfg "$HOME/.allegrorc"
refused "$HOME/.allegrorc" "10 MiB as ~/.allegrorc"
rm "$HOME/.allegrorc"

# In the folder the game is started from, with its data files: the game starts.
mkdir "$work/start" && cd "$work/start" || exit 1
ln -s "$(dirname "$game")"/* . && rm -f allegro.cfg
printf '\xfd\xbe\x86\x99\xb1\xb6' >allegro.cfg
check "one in the starting folder is not read: the window opens" start_game "$work/game/grimbledom"
kill -KILL "$game_pid" 2>/dev/null
wait "$game_pid" 2>/dev/null
game_pid=

# A system the library does not have.
cd "$work/game" || exit 1
printf '[system]\nsystem = NOPE\n' >allegro.cfg
cp allegro.cfg "$work/before"
run_game
status=$?
check "unknown system: exit code 1 (was $status)" test "$status" -eq 1
check "unknown system: the library could not start" \
    grep -qx "grimbledom: could not start the graphics library" "$work/out"
check "unknown system: the settings file is unchanged" cmp -s allegro.cfg "$work/before"
unused=1000
while [ -e "/tmp/.X11-unix/X$unused" ]; do unused=$((unused + 1)); done
for display in unset ":$unused"; do
    if [ "$display" = unset ]; then (unset DISPLAY; run_game); else DISPLAY=$display run_game; fi
    status=$?
    check "unknown system, display $display: exit code 1 (was $status)" test "$status" -eq 1
    check "unknown system, display $display: says there is no display" \
        grep -q "no display to open a window on" "$work/out"
done

finish
