#!/usr/bin/env bash
# Times the game's start-up: from exec to the first frame of the title menu
# on the screen, under a virtual X server, as the median of 10 starts.
# Usage: bench/startup.sh [BUILD_FOLDER [PLAY_FOLDER]]
#   (default: build and its play folder; another play folder times another
#   build of the game against the same measurement)
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
play=$(cd "${2:-$build/play}" && pwd)
preload=$build/bench/libfirst_menu_frame.so
starts=10

. "$(dirname "$0")/../framework/tests/xvfb_session.sh"
xvfb_begin "" 640x480

cp -r "$play" "$work/play"
rm -f "$work/play/save.dat"
cd "$work/play"

times=()
noisy=0
for _ in $(seq "$starts"); do
    start=$(date +%s%N)
    shown=$(LD_PRELOAD="$preload" ./grimbledom 2>"$work/stderr")
    times+=($(((shown - start) / 1000)))
    if [ -s "$work/stderr" ]; then
        [ "$noisy" -eq 0 ] && cp "$work/stderr" "$work/first-stderr"
        noisy=$((noisy + 1))
    fi
done
if [ "$noisy" -gt 0 ]; then
    echo "$noisy of $starts starts wrote on stderr; the first wrote:"
    cat "$work/first-stderr"
fi
printf '%s\n' "${times[@]}" | sort -n | awk -v n="$starts" '
    { t[NR] = $1 }
    END {
        printf "start-up to the first menu frame, %d starts (ms):", n
        for (i = 1; i <= n; i++) printf " %.1f", t[i] / 1000
        printf "\nmedian %.1f ms\n", (t[int((n + 1) / 2)] + t[int(n / 2) + 1]) / 2000
    }'
