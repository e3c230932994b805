#!/usr/bin/env bash
# The program's main job: builds the program and runs its demonstration, a demo
# installation with a simulated receiver shown in the main screen (on a terminal
# without a display: the receiver identified by tarnwick-cli).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" >/dev/null
cmake --build build/release -j "$(nproc)" --target tarnwick tarnwick-cli tarnwick-sim Quillport
exec build/release/bin/tarnwick --demo "$@"
