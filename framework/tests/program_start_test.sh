#!/usr/bin/env bash
# Starts the real game under a virtual X server and drives it with real key
# presses: Esc on the first screen quits cleanly; a graphics mode that cannot
# be set is reported and ends with exit code 1; no display at all ends with
# exit code 1 and a message, never a crash.
# Usage: program_start_test.sh GAME FAIL_GRAPHICS_MODE_LIBRARY SCREEN_PROBE
set -uo pipefail
game=$(realpath "$1")
fail_mode_lib=$(realpath "$2")
. "$(dirname "$0")/xvfb_session.sh"
xvfb_begin "$3" 800x600

# The first screen shows its lit entry once it reads the keyboard.
first_screen_shown() { has menu_highlight 0 250 640 180; }

# The game starts in a copy of its folder, which holds its data files.
mkdir "$work/play"
cp -r "$(dirname "$game")"/. "$work/play/"
cd "$work/play" || exit 1
game=./$(basename "$game")

# Esc on the first screen: exit code 0, save file untouched.
printf '1 0' >save.dat
touch -d '2001-01-01 00:00' save.dat
require "the window opens, titled Quillforge" start_game "$game"
check "the window is 640 by 480" \
    sh -c "xdotool getwindowgeometry '$window' | grep -q 'Geometry: 640x480'"
require "the first screen shows" wait_for first_screen_shown
check "Esc quits" press Escape game_gone
check "with exit code 0" expect_exit 0
check "save.dat is untouched" sh -c \
    "[ \"\$(cat save.dat)\" = '1 0' ] && [ \"\$(stat -c %Y save.dat)\" = \"\$(date -d '2001-01-01 00:00' +%s)\" ]"

# No save file: none is written by starting and quitting.
rm save.dat
require "the game starts again" start_game "$game"
require "the first screen shows" wait_for first_screen_shown
check "Esc quits without a save file" press Escape game_gone
check "with exit code 0" expect_exit 0
check "no save file appears" test ! -e save.dat

# A graphics mode that cannot be set: the library's message box (xmessage,
# a child of the game), which Enter closes.
LD_PRELOAD="$fail_mode_lib" "$game" >"$work/out" 2>&1 &
game_pid=$!
message_shown() {
    game_message_box && message_window=$(xdotool search --name xmessage | head -n 1) \
        && [ -n "$message_window" ]
}
if ! within 60 message_shown; then
    echo "the game's processes:"
    ps -o pid,ppid,stat,etime,args --ppid "$game_pid" -p "$game_pid"
fi
require "a message box opens" message_shown
message_names_problem() { [[ $message == *"Unable to set any graphic mode"* ]]; }
check "the message names the problem" message_names_problem
xdotool mousemove --window "$message_window" 5 5
check "Enter closes it and the game ends" press Return game_gone
check "with exit code 1" expect_exit 1

# Started from a folder without its data files: the library's message box
# says which file it missed, where it looked and where to start the game
# from; stderr has the same words; then the game leaves with exit code 1.
mkdir "$work/elsewhere"
(cd "$work/elsewhere" && exec "$work/play/$game") >"$work/out" 2>&1 &
game_pid=$!
require "from the wrong folder, a message box opens" within 60 message_shown
message_names_folder() {
    [[ $message == *"Cannot load the font carbon.ttf"* ]] \
        && [[ $message == *"from the folder $work/elsewhere."* ]] \
        && [[ $message == *"Start GRIMBLEDOM from the folder that holds its data files."* ]]
}
check "it names the font, the folder and where to start from" message_names_folder
xdotool mousemove --window "$message_window" 5 5
check "Enter closes it and the game ends" press Return game_gone
check "with exit code 1" expect_exit 1
check "stderr says the same" grep -qx \
    "Cannot load the font carbon.ttf from the folder $work/elsewhere. Start GRIMBLEDOM from the folder that holds its data files." \
    "$work/out"

# No display at all.
env -u DISPLAY "$game" >"$work/out" 2>&1 &
game_pid=$!
check "no display ends with exit code 1" expect_exit 1
check "no display says why" grep -q "could not start the graphics library" "$work/out"
finish
