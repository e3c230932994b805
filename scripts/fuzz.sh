#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang in build/fuzz and runs each for
# SECONDS (default 5) from its seeds in fuzz/corpus/<name>/. Fails on any
# crash, leak, sanitizer report or time-out; the input that did it is kept in
# build/fuzz/artifacts/. New harnesses are found through build/fuzz/fuzzers.txt.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-5}
dir=build/fuzz

cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O1 -g1" \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DTARNWICK_FUZZ=ON -DTARNWICK_TESTS=OFF >/dev/null
cmake --build "$dir" --target fuzzers

mkdir -p "$dir/artifacts" "$dir/logs"
failed=()
while IFS=$'\t' read -r name program; do
  [[ -n $name ]] || continue
  seeds=fuzz/corpus/$name
  work=$dir/corpus/$name # new inputs land here, the committed seeds stay as they are
  mkdir -p "$work" "$seeds"
  log=$dir/logs/$name.log
  echo "-- $name: ${seconds}s"
  if "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$dir/artifacts/$name-" "$work" "$seeds" >"$log" 2>&1; then
    grep -E '^Done [0-9]+ runs' "$log" || true
  else
    tail -n 40 "$log"
    failed+=("$name")
  fi
done <"$dir/fuzzers.txt"

if ((${#failed[@]})); then
  echo "fuzzing failed: ${failed[*]} (inputs in $dir/artifacts, logs in $dir/logs)" >&2
  exit 1
fi
echo "-- fuzzing passed"
