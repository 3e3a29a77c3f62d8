#!/usr/bin/env bash
# Plays the real game under a virtual X server with real key presses: the
# title menu's moves; a short run ended by letting go of Esc; then the whole
# game: a run to the first flag's minigame, game over, results, a stage of
# each series, quit. Keeps a screenshot of every screen in SHOT_FOLDER.
# The full-screen program gets a screen larger than its picture, which it
# shows in the middle on black.
# Usage: real_keys_test.sh PLAY_FOLDER PROGRAM SHOT_FOLDER SCREEN_PROBE FIXED_RAND_LIBRARY
set -uo pipefail
play=$1
program=$2
shot_folder=$(realpath -m "$3")
rm -f "$shot_folder"/*.png
fixed_rand=$(realpath "$5")
. "$(dirname "$0")/../../framework/tests/xvfb_session.sh"

case $program in
*-fullscreen) screen_width=1024 screen_height=768 ;;
*) screen_width=640 screen_height=480 ;;
esac
xvfb_begin "$4" "${screen_width}x${screen_height}"

mkdir "$work/play"
cp -r "$play"/. "$work/play/"
rm -f "$work/play/save.dat"
cd "$work/play" || exit 1

# --- what the screens look like ------------------------------------------

shirt="30 70 115 90 125 175"
lava="190 40 0 255 130 40"
disk_blue="30 95 180 50 120 210"
no_good_blue="0 0 60 30 30 120"

# The lit entry of the title menu: 0 for NEW GAME down to 3 for QUIT.
on_menu_entry() { box menu_highlight 0 250 640 180 && [ $(((box_y - 260) / 40)) -eq "$1" ]; }

instructions_shown() { all black 0 0 640 8 && has white 0 125 640 30 && has white 0 425 640 30; }
run_shown() { box sky 0 0 640 480 && [ "$box_w" -ge 600 ]; } # the sky across the screen
results_shown() {
    all black 0 0 640 8 && has white 0 165 640 30 && has white 0 285 640 30 \
        && ! has white 0 420 640 40
}

# A red line across the middle: MINIGAME! (and WINNER!) rests at x 280,
# GAME OVER! is centred.
red_banner() { box banner_red 0 215 640 50 && [ "$box_w" -ge 80 ]; }
minigame_banner() { red_banner && [ "$box_x" -ge 270 ]; }
game_over_shown() { red_banner && [ "$box_x" -lt 270 ]; }
no_good_shown() { has no_good_blue 270 215 370 50; }

# One white line in the middle of a black screen, its box in box_*.
lone_line() { all black 0 0 640 200 && all black 0 290 640 190 && box white 0 200 640 80; }
stage_card() { lone_line && [ "$box_h" -ge 16 ] && [ "$box_w" -lt 130 ]; }
total_card() { lone_line && [ "$box_h" -ge 16 ] && [ "$box_w" -ge 130 ]; }
minigame_time_shown() { has white 0 0 200 40 && ! has white 260 0 120 50; }
fire_game_shown() { minigame_time_shown && has lava 0 440 640 40; }
disk_game_shown() { minigame_time_shown && has disk_blue 140 140 200 200; }

# --- starting, and the menu ----------------------------------------------

# Starts the program, finds its picture and waits for the menu. When the
# game shows a message box instead, says what it says.
start_menu() { # settings for env, if any
    start_game env "$@" "./$program" || return 1
    case $program in
    *-fullscreen) picture_at $(((screen_width - 640) / 2)) $(((screen_height - 480) / 2)) ;;
    *)
        local position
        position=$(xdotool getwindowgeometry "$window" |
            sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p')
        picture_at ${position:-0 0}
        ;;
    esac
    if ! within 60 menu_or_message_box; then
        echo "the menu never showed"
        return 1
    fi
    game_message_box || return 0
    echo "the game did not start; its message box says: ${message#*-center }"
    case $program in
    *-fullscreen)
        echo "(Allegro's full-screen X driver grabs the keyboard, and cannot while another" \
            "program on this display holds a grab)"
        ;;
    esac
    return 1
}
menu_or_message_box() { game_message_box || shows on_menu_entry 0; }

# Moves the menu to the entry with the key, holding it until the entry lights.
menu_move() { press "$1" on_menu_entry "$2"; }

# Everything around the picture is black: above, below, left and right.
picture_centred_on_black() {
    local right=$((screen_width - 640 - origin_x)) below=$((screen_height - 480 - origin_y))
    look_at_whole_screen && all black -"$origin_x" -"$origin_y" "$screen_width" "$origin_y" \
        && all black -"$origin_x" 480 "$screen_width" "$below" \
        && all black -"$origin_x" 0 "$origin_x" 480 && all black 640 0 "$right" 480
}

# First mode open: every move key, ending on QUIT.
printf '1 0' >save.dat
require "the game starts on its menu" start_menu
if [ "$origin_x" -gt 0 ]; then
    check "the 640 by 480 picture shows in the middle of the larger screen, on black" \
        picture_centred_on_black
    keep_screenshot whole-screen
fi
moves() {
    menu_move Down 1 && menu_move s 3 && menu_move w 1 && menu_move KP_2 3 && menu_move KP_8 1 \
        && menu_move Down 3
}
require "every move key moves the menu, skipping the locked mode" moves
press Return game_gone
require "Enter on QUIT quits with 0" expect_exit 0
check "save.dat is left as it was" test "$(cat save.dat)" = "1 0"

# --- a short run, ended by Esc ---------------------------------------------

# Without a save file both modes are locked: down from NEW GAME lands on QUIT.
rm save.dat
require "the game starts on its menu" start_menu
require "NEW GAME opens the instructions" press Return instructions_shown
require "the action key starts the run" press space run_shown
tap Escape
require "letting go of Esc ends the run: game over" wait_for game_over_shown
require "then the results" wait_for results_shown
require "the action key goes back to the menu" press space on_menu_entry 0
require "without a save file, down lands on QUIT" menu_move Down 3
press Return game_gone
require "Enter on QUIT quits with 0" expect_exit 0
check "a low score writes no save file" test ! -e save.dat

# --- the whole game ------------------------------------------------------

# Every rand() of the game returns one value (see FixedRand.cpp): the ten
# peasants walk as one crowd that one swing smashes. A walking crowd's
# shirts are a box at least 15 rows high; a smashed crowd lies flat.
walking_crowd() { box shirt 0 150 640 330 && [ "$box_h" -ge 15 ]; }
# The shirts are 17 pixels into a peasant's picture, and a swing reaches
# peasants whose left edge is 241 to 349 pixels right of the view's, so the
# shirts' edge must be between 258 and 366 when the game scores the swing.
# By then the crowd is behind the troll (drawn over it from x 220 to 330),
# so the swing is timed from a look while the crowd is still clear of it: on
# screen the crowd comes 300 pixels a second closer. It is aimed high in the
# reach, since every delay of the press (the frame on screen being older than
# the look, the key's way into the game, the frame the game is drawing)
# makes it land later.
aim_x=355
clear_x=340
still_coming_x=290 # right of most of the reach, even with its left part hidden
closing_speed=300

# The number of pixels of the score's black digits, in $score_ink. Once the
# run is over the darkening screen changes it too.
read_score() { box black 0 0 200 40 && score_ink=$box_n; }
score_changed() { ! run_over && read_score && [ "$score_ink" -ne "$1" ]; }
run_over() { game_over_shown || results_shown; }

# The MINIGAME! banner shows (it slides in from the right to rest at x 280).
at_the_flag() {
    [ -n "$flag_reached" ] && return 0
    minigame_banner || return 1
    flag_reached=1
    keep_screenshot minigame-banner
}
banner_at_rest() { minigame_banner && [ "$box_x" -lt 290 ]; }

# Holds the action key while the game draws a few frames, then watches for
# what the swing did: the score changes for a hit; the flag may come first;
# when the crowd is still coming (the game's clock lags on a busy machine)
# the swing came early, and the next one may be timed from nearer.
swing() { # where the crowd was seen, how long ago
    local before=$score_ink frames=0
    key_down space
    within 30 swing_held
    key_up space
    swings=$((swings + 1))
    frames=0
    swing_outcome=missed
    within 2 shows swing_over "$before"
    echo "swing at the crowd seen at x $1, $2 ms before the press: $swing_outcome"
    [ "$swing_outcome" = smashed ] && hits=$((hits + 1))
    came_early=
    [ "$swing_outcome" = "too early: the crowd still comes" ] && came_early=1
}
swing_held() {
    look || return 1
    frames=$((frames + look_changed))
    at_the_flag || [ "$frames" -ge 3 ]
}
swing_over() {
    frames=$((frames + look_changed))
    if at_the_flag; then
        swing_outcome="no matter: the flag came first"
    elif score_changed "$1"; then
        swing_outcome=smashed
        [ -e "$work/shots/run-hit.ppm" ] || keep_screenshot run-hit
    elif run_over; then
        swing_outcome="missed: the run is over"
    elif [ "$frames" -ge 2 ] && walking_crowd && [ "$box_x" -ge "$still_coming_x" ]; then
        swing_outcome="too early: the crowd still comes"
    else
        return 1
    fi
}

# Swings at each crowd as it comes within reach, until the MINIGAME! banner
# shows; fails when the run ends first.
play_to_first_flag() {
    local now wait_us deadline
    now_us
    deadline=$((now + 120000000))
    flag_reached= came_early=
    while [ "$now" -lt "$deadline" ]; do
        look || return 1
        now_us
        at_the_flag && return 0
        run_over && return 1
        read_score && walking_crowd || continue
        if [ "$box_x" -lt "$clear_x" ]; then
            # Behind the troll only a crowd that was swung at too early counts.
            [ -n "$came_early" ] && [ "$box_x" -ge "$still_coming_x" ] || continue
        fi
        [ -e "$work/shots/run.ppm" ] || keep_screenshot run
        wait_us=$(((box_x - aim_x) * 1000000 / closing_speed - (now - look_time)))
        if [ "$wait_us" -gt 600000 ]; then
            nap 0.2 # look again, nearer the time
            continue
        fi
        if [ "$wait_us" -gt 0 ]; then
            printf -v wait_us '0.%06d' "$wait_us"
            nap "$wait_us"
        fi
        now_us
        swing "$box_x" $(((now - look_time) / 1000))
        at_the_flag && return 0
    done
    return 1
}

printf '1 1' >save.dat
require "the game starts on its menu" start_menu LD_PRELOAD="$fixed_rand"
keep_screenshot menu
require "NEW GAME opens the instructions" press Return instructions_shown
keep_screenshot instructions
require "the action key starts the run" press space run_shown
# A swing can still miss when the machine is busy (the game then draws a
# frame in a tenth of a second or more, while the crowd is within reach for
# a third of a second), so a run that ends before the flag is tried again.
swings=0 hits=0 runs=1 max_runs=5
until play_to_first_flag; do
    echo "run $runs ended before the first flag"
    keep_screenshot "run-$runs-lost"
    [ "$runs" -lt "$max_runs" ] || break
    runs=$((runs + 1))
    wait_for results_shown && press space on_menu_entry 0 && press Return instructions_shown \
        && press space run_shown || break
done
echo "runs started to reach the first flag: $runs; swings $swings, crowds smashed $hits"
require "a run with real swings reaches the first flag's MINIGAME! banner" test -n "$flag_reached"
within 10 shows banner_at_rest && keep_screenshot minigame-banner
require "the fire minigame follows" wait_for fire_game_shown
keep_screenshot minigame
tap Escape
require "letting go of Esc loses the minigame: NO GOOD" wait_for no_good_shown
keep_screenshot minigame-lost
require "the crowd walks past and the strength runs out: game over" wait_for game_over_shown
keep_screenshot game-over
require "then the results" wait_for results_shown
keep_screenshot results
require "the action key goes back to the menu" press space on_menu_entry 0

play_series() { # menu entry, name, the minigame's screen
    local entry=$1 name=$2 shown=$3
    require "$name: down to its entry" menu_move Down 1
    [ "$entry" -eq 1 ] || require "$name: down to its entry" menu_move Down 2
    require "$name: Enter shows the first stage's card" press Return stage_card
    keep_screenshot "$name-stage"
    require "$name: its minigame follows" wait_for "$shown"
    keep_screenshot "$name-play"
    tap Escape
    require "$name: letting go of Esc loses the stage: total stages" wait_for total_card
    keep_screenshot "$name-total"
    require "$name: the action key goes back to the menu" press space on_menu_entry 0
}
play_series 1 fumbo-attack fire_game_shown
play_series 2 spin-attack disk_game_shown

require "Esc on the menu quits" press Escape game_gone
require "with exit code 0" expect_exit 0
check "save.dat still holds both modes" test "$(cat save.dat)" = "1 1"
finish
