#!/usr/bin/env bash
# The program's main job: builds and runs the demonstration.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release -j "$(nproc)" --target quillport-demo Quillport
exec build/release/bin/quillport-demo "$@"
