#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: once as
# shipped, once more under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh --test
jobs=$(nproc)

cmake -S . -B build -DGRIMBLEDOM_WERROR=ON -DBUILD_TESTING=ON
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")

cmake -S . -B build-sanitize -DGRIMBLEDOM_WERROR=ON -DGRIMBLEDOM_SANITIZE=ON -DBUILD_TESTING=ON
cmake --build build-sanitize -j"$jobs"
(cd build-sanitize && ctest --output-on-failure -j"$jobs")

# A minute at most of fuzzing the text renderer's font loading and drawing
# (libFuzzer, clang), from a few real fonts of the system's font packages.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DGRIMBLEDOM_WERROR=ON -DGRIMBLEDOM_SANITIZE=ON \
  -DGRIMBLEDOM_FUZZ=ON -DBUILD_TESTING=OFF
cmake --build build-fuzz -j"$jobs" --target ttf_fuzz bmp_fuzz
rm -rf build-fuzz/corpus && mkdir -p build-fuzz/corpus
cp /usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf /usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf \
  /usr/share/fonts/X11/misc/5x7.pcf.gz /usr/share/fonts/X11/misc/6x13.pcf.gz \
  /usr/share/fonts/X11/misc/10x20-ISO8859-1.pcf.gz build-fuzz/corpus/
build-fuzz/ttf/fuzz/ttf_fuzz -max_total_time=60 -timeout=20 build-fuzz/corpus

# Half a minute of the picture check and loading, from the game's own pictures
# and one small file of each kind the check knows (one of them top-down).
rm -rf build-fuzz/bmp-corpus && mkdir -p build-fuzz/bmp-corpus
cp build/play/*.bmp framework/fuzz/seeds/*.bmp build-fuzz/bmp-corpus/
build-fuzz/framework/fuzz/bmp_fuzz -max_total_time=30 -timeout=20 build-fuzz/bmp-corpus
