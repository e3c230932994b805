#!/usr/bin/env bash
# Builds the serial library and the benchmark in a Release tree, then sends
# the same 1,024,000-byte file to lrzsz's rx through the library and through
# lrzsz's sx -k. Arguments go to the benchmark: --runs N, --bare, --keep.
# The build tree is build/bench unless BENCH_BUILD_DIR names another.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BENCH_BUILD_DIR:-$root/build/bench}

if ! command -v rx >/dev/null || ! command -v sx >/dev/null; then
  if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
    apt-get install -y lrzsz
  else
    echo "lrzsz (rx, sx) is needed: sudo apt-get install lrzsz" >&2
    exit 1
  fi
fi

if [ -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DTARNWICK_BENCH=ON >/dev/null
else
  generator=()
  command -v ninja >/dev/null && generator=(-G Ninja)
  cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release \
    -DTARNWICK_BENCH=ON -DTARNWICK_TESTS=OFF >/dev/null
fi
# Two cores are shared: build only what the benchmark needs.
cmake --build "$build" --target bench_quillport_vs_sx -j 2

exec "$build/bin/bench_quillport_vs_sx" "$@"
