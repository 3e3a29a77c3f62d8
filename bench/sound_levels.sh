#!/usr/bin/env bash
# Records the game's mixed output through SDL's disk driver twice, in real
# time: the music alone, and the music with one main run played by a
# scripted player; then prints the figures of both (sox's peak, RMS and
# flat factor, and those of bench/SoundLevels.cpp).
# Usage: bench/sound_levels.sh [BUILD_FOLDER [SECONDS [KEEP_FOLDER]]]
#   SECONDS: how long the music plays alone, and how long the player swings
#   (default 70, past the music's first loop); KEEP_FOLDER keeps the two
#   recordings (music.raw, run.raw) and the run's hit times (run.hits).
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
seconds=${2:-70}
keep=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

record() { # music|run
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/$1.raw" \
        "$build/bench/record_run" "$build/play" "$1" "$seconds" "$work/$1.hits"
}
record music
record run
for kind in music run; do
    echo "== $kind"
    sox -t raw -r 32000 -e signed -b 16 -c 2 "$work/$kind.raw" -n stats 2>&1 \
        | grep -E '^(Pk lev dB|RMS lev dB|Flat factor)'
    if [ "$kind" = run ]; then
        "$build/bench/sound_levels" "$work/$kind.raw" "$work/$kind.hits" "$work/music.raw"
    else
        "$build/bench/sound_levels" "$work/$kind.raw"
    fi
done
if [ -n "$keep" ]; then
    mkdir -p "$keep"
    cp "$work"/music.raw "$work"/run.raw "$keep"/
    cp "$work"/run.hits "$keep"/
fi
