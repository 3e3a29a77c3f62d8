# Sourced by the tests that drive the real program under a virtual X server.
# Every wait here watches for what it expects (a window, something on the
# screen, an exit) until a generous deadline, because CI may run on a
# machine that is busy with other work; no step waits a fixed time instead.
# The screen is read by one screen_probe and the keys sent by one xdotool,
# both started once and fed command lines, so that neither a look nor a
# press waits for a program to start.
#
# Start with: xvfb_begin SCREEN_PROBE WIDTHxHEIGHT (an empty SCREEN_PROBE for
# a test that never looks at the screen)
# Afterwards: $work is a fresh folder removed at exit, DISPLAY is set, and the
# game started by start_game runs as $game_pid with its output in $work/out.
# Screenshots kept with keep_screenshot are saved in $shot_folder at finish.

work=$(mktemp -d)
xvfb_pid=
probe_pid=
keys_pid=
game_pid=
failures=0
# The top-left corner of the game's 640 by 480 picture on the screen, and
# the part of the screen a look takes (empty: all of it).
origin_x=0
origin_y=0
look_area=

# The preloaded test libraries cannot come before the sanitizer runtime.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0"

# A game still running here has failed a check; the library's handler of a
# polite kill can hang, so it gets no choice.
xvfb_end() {
    [ -n "$game_pid" ] && kill -KILL "$game_pid" 2>/dev/null
    local pid
    for pid in "$probe_pid" "$keys_pid" "$xvfb_pid"; do
        [ -n "$pid" ] && kill "$pid" 2>/dev/null
    done
    rm -rf "$work"
}
trap xvfb_end EXIT

check() { # description, then a command that must succeed
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAILED: $what; the game said last:"
        tail -n 20 "$work/out" 2>/dev/null | sed 's/^/    /'
        failures=$((failures + 1))
        return 1
    fi
}

# Like check, but the test cannot go on without it: stops the test there,
# keeping the screen of that moment as "failed".
require() { # description, then a command that must succeed
    check "$@" && return 0
    look && keep_screenshot failed
    finish
}

finish() {
    local shot
    for shot in "$work"/shots/*.ppm; do
        [ -e "$shot" ] || continue
        mkdir -p "$shot_folder"
        convert "$shot" "$shot_folder/$(basename "$shot" .ppm).png"
    done
    if [ "$failures" -eq 0 ]; then
        echo "all checks passed"
    else
        echo "$failures checks failed"
    fi
    exit "$failures"
}

now_us() { now=$((10#${EPOCHREALTIME//[.,]/})); }

# Sleeps for SECONDS (a fraction) without starting a program.
nap() { read -r -t "$1" -u 7 _ || true; }

# Runs the command until it succeeds, for at most SECONDS; fails after that.
within() {
    local now
    now_us
    local deadline=$((now + $1 * 1000000))
    shift
    until "$@"; do
        now_us
        [ "$now" -lt "$deadline" ] || return 1
        nap 0.02
    done
    return 0
}

xvfb_begin() { # screen probe, screen size
    mkfifo "$work/nap" "$work/probe-in" "$work/probe-out" "$work/keys"
    exec 7<>"$work/nap"
    exec 3>"$work/display"
    # Without auto-repeat a key held down for long is still one press.
    Xvfb -displayfd 3 -screen 0 "$2x24" -nolisten tcp -r >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    exec 3>&-
    if ! within 30 test -s "$work/display"; then
        echo "Xvfb did not start:"
        cat "$work/xvfb.log"
        exit 1
    fi
    export DISPLAY=":$(cat "$work/display")"
    if [ -n "$1" ]; then
        "$1" <"$work/probe-in" >"$work/probe-out" &
        probe_pid=$!
        exec 5>"$work/probe-in" 6<"$work/probe-out"
    fi
    xdotool - <"$work/keys" >/dev/null 2>&1 &
    keys_pid=$!
    exec 4>"$work/keys"
}

key_down() { echo "keydown $1" >&4; }
key_up() { echo "keyup $1" >&4; }

# --- the screen ---------------------------------------------------------

# Colour ranges, as the probe takes them: lowest red, green, blue, then highest.
white="230 230 230 255 255 255"
black="0 0 0 12 12 12"
sky="165 190 200 200 235 240"
menu_highlight="190 190 245 210 210 255"
banner_red="250 0 0 255 8 8"

ask_probe() { # command; the answer is in $answer
    echo "$*" >&5 && read -r answer <&6 && [ "$answer" != error ]
}

# Takes a picture of the screen (of the game's picture, once picture_at has
# said where it is), for what follows to look at. Sets $look_time (wall
# clock, microseconds) and $look_changed (1 when the picture differs from
# the one before).
look() {
    ask_probe look $look_area || return 1
    read -r look_time look_changed <<<"$answer"
}

# A look at the whole screen, around the game's picture too.
look_at_whole_screen() {
    local area=$look_area
    look_area=
    look
    local status=$?
    look_area=$area
    return $status
}

# Says where on the screen the game's picture is: looks take only that.
picture_at() { # x, y of its top-left corner
    origin_x=$1 origin_y=$2
    look_area="$1 $2 640 480"
}

# Finds the pixels of a colour range within a rectangle of the game's
# picture (in its coordinates): sets box_x, box_y, box_w, box_h, the box
# around them, and box_n, their number. Fails when there is none.
box() { # range name, x, y, width, height
    screen_box "$1" $(($2 + origin_x)) $(($3 + origin_y)) "$4" "$5" || return 1
    box_x=$((box_x - origin_x)) box_y=$((box_y - origin_y))
}

# Like box, in the coordinates of the whole screen.
screen_box() { # range name, x, y, width, height
    ask_probe box "$2" "$3" "$4" "$5" "${!1}" && [ "$answer" != none ] || return 1
    read -r box_x box_y box_w box_h box_n <<<"$answer"
}

has() { box "$@"; }

# Every pixel of the rectangle is in the colour range.
all() { # range name, x, y, width, height
    box "$@" && [ "$box_n" -eq $(($4 * $5)) ]
}

# Succeeds when a fresh look at the screen satisfies the command.
shows() { look && "$@"; }

# Waits until the screen satisfies the command: 60 s, a generous bound for
# a sanitized build on a machine whose every core is busy.
wait_for() {
    within 60 shows "$@" && return 0
    echo "the screen never showed: $*"
    return 1
}

# Keeps the picture last looked at, to be saved as SHOT_FOLDER/NAME.png when
# the test ends (converting now could let a short screen go by unseen).
keep_screenshot() { # name
    mkdir -p "$work/shots"
    ask_probe save "$work/shots/$1.ppm"
}

# Waits until the game has drawn COUNT new frames: the game reads the keys
# between two frames.
wait_for_frames() { # count
    local frames=0
    look || return 1
    within 30 count_frames "$1"
}
count_frames() {
    look || return 1
    frames=$((frames + look_changed))
    [ "$frames" -ge "$1" ]
}

# --- keys ----------------------------------------------------------------

# The game sees a press as a key that is down at one frame and was up at the
# frame before. A press therefore starts after a moment with every key up:
# another key of the same button, let go just before, could otherwise look
# held still.
key_press() { # key
    nap 0.3
    key_down "$1"
}

# Holds the key down until the screen shows its effect, then lets go. A
# press that shows nothing for long cannot have been seen, and is made again.
press() { # key, then the command that tells the effect
    local key=$1 attempt
    shift
    for attempt in 1 2 3; do
        key_press "$key"
        within 20 shows "$@"
        local status=$?
        key_up "$key"
        [ $status -eq 0 ] && return 0
        echo "pressing $key showed nothing for 20 s (attempt $attempt)"
    done
    echo "the screen never showed: $*"
    return 1
}

# Holds the key down while the game draws a few frames, then lets go: for
# keys whose effect comes with the release.
tap() { # key
    key_press "$1"
    wait_for_frames 3
    local status=$?
    key_up "$1"
    return $status
}

# --- the game ------------------------------------------------------------

# Starts the command (the program, or env with settings and the program) in
# the current folder and waits for its window; keys then go to it, since the
# pointer is over it.
start_game() { # command
    "$@" >"$work/out" 2>&1 &
    game_pid=$!
    if ! within 60 game_window; then
        echo "no window appeared; the game said:"
        cat "$work/out"
        return 1
    fi
    xdotool mousemove --window "$window" 320 240
}
game_window() {
    window=$(xdotool search --name Quillforge 2>/dev/null | head -n 1) && [ -n "$window" ]
}

game_gone() { ! kill -0 "$game_pid" 2>/dev/null; }

# The library's message box is an xmessage of the game's: sets $message to
# its command line.
game_message_box() { message=$(pgrep -a -P "$game_pid" xmessage); }

# Waits for the game to end and checks its exit code, and that no sanitizer
# reported anything; prints what the game said when not.
expect_exit() { # code
    if ! within 60 game_gone; then
        echo "the game is still running"
        kill -KILL "$game_pid"
        wait "$game_pid" 2>/dev/null
        game_pid=
        return 1
    fi
    wait "$game_pid"
    local status=$?
    game_pid=
    if grep -Eq 'ERROR: [A-Za-z]+Sanitizer|runtime error:' "$work/out"; then
        echo "a sanitizer reported (exit code $status):"
    elif [ "$status" -ne "$1" ]; then
        echo "exit code $status, not $1; the game said:"
    else
        return 0
    fi
    cat "$work/out"
    return 1
}
