#!/usr/bin/env bash
# The graphics library's own settings never hang the game. A settings file
# holding a character the library's text writer would never finish (the
# six bytes fd be 86 99 b1 b6), beside the program, in $HOME, in the
# starting folder when HOME is empty, or in a language file the settings
# name, lets the game start and stays as it was. A system the library does
# not have is reported as the library failing to start, and "no display"
# only when there is none.
# Usage: library_config_test.sh GAME
set -uo pipefail
game=$1

. "$(dirname "$0")/xvfb_session.sh"

# No settings of this machine's own.
export HOME="$work/home"
unset ALLEGRO
mkdir "$HOME"

xvfb_begin "" 800x600

# The library looks beside the program itself, so the program is copied; it
# is started from a folder with its data files.
mkdir "$work/game" "$work/start"
cp "$game" "$work/game/grimbledom"
ln -s "$(dirname "$game")"/* "$work/start/" && rm -f "$work/start/allegro.cfg"
cd "$work/start" || exit 1

endless=$'\xfd\xbe\x86\x99\xb1\xb6'

starts() { # settings file, description; the window must open, the file stay
    cp "$1" "$work/before"
    check "$2: the window opens" start_game "$work/game/grimbledom"
    kill -KILL "$game_pid" 2>/dev/null
    wait "$game_pid" 2>/dev/null
    game_pid=
    check "$2: the file is unchanged" cmp -s "$1" "$work/before"
    rm -f "$1"
}

printf '%s' "$endless" >"$work/game/allegro.cfg"
starts "$work/game/allegro.cfg" "six bytes beside the program"
printf '%s' "$endless" >"$HOME/.allegrorc"
starts "$HOME/.allegrorc" "six bytes as ~/.allegrorc"
printf '[system]\nlanguage = zz\n' >"$work/game/allegro.cfg"
printf '[language]\n%s\n' "$endless" >"$work/game/zztext.cfg"
starts "$work/game/zztext.cfg" "six bytes in the language file the settings name"
rm "$work/game/allegro.cfg"
printf '%s' "$endless" >allegro.cfg
HOME= starts "$work/start/allegro.cfg" "six bytes in the starting folder with HOME empty"

# A system the library does not have.
cd "$work/game" || exit 1
run_game() { # runs the copy in the current folder with a generous limit
    timeout 60 "$work/game/grimbledom" >"$work/out" 2>&1
}
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
