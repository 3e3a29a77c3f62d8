#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it in its own folder.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build -j"$(nproc)"
cd build/play
exec ./grimbledom
