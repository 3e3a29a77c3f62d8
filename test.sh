#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: once as
# shipped, once more under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh --test
jobs=$(nproc)

cmake -S . -B build -DGRIMBLEDOM_WERROR=ON
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")

cmake -S . -B build-sanitize -DGRIMBLEDOM_WERROR=ON -DGRIMBLEDOM_SANITIZE=ON
cmake --build build-sanitize -j"$jobs"
(cd build-sanitize && ctest --output-on-failure -j"$jobs")
