#!/usr/bin/env bash
# The whole test suite: a release build of the programs with warnings as errors,
# every test under AddressSanitizer and UndefinedBehaviorSanitizer, the tests whose
# tools run on workers under ThreadSanitizer, then a short run of every
# libFuzzer harness.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

jobs=$(nproc)

run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  # Many tests mostly wait on pseudo-terminals and peers, so run more than one per core.
  ctest --test-dir "$dir" --output-on-failure -j "$((jobs * 2))" --timeout 300
}

# The optimised build proves the programs compile cleanly at -O2; the tests
# run once, under the sanitizers, which see more than an optimised run would
# and keep the suite within its time.
echo "== release build of the programs (warnings are errors)"
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" \
  -DTARNWICK_WERROR=ON -DTARNWICK_TESTS=OFF >/dev/null
cmake --build build/release -j "$jobs"

echo "== sanitizer build (ASan + UBSan)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite build/asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DTARNWICK_WERROR=ON \
  -DTARNWICK_SANITIZE=ON

echo "== thread sanitizer build (the tests whose tools run on workers)"
tsan=build/tsan
cmake -S . -B "$tsan" -G Ninja -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1" \
  -DTARNWICK_WERROR=ON -DTARNWICK_TSAN=ON >/dev/null
cmake --build "$tsan" -j "$jobs" --target link_tests config_tests qt_user_port_tests
# ThreadSanitizer cannot place its shadow memory on kernels with many bits of
# mmap randomisation ("unexpected memory mapping"); without randomisation it can.
no_aslr=()
if ! "$tsan/bin/config_tests" --gtest_list_tests >/dev/null 2>&1; then
  no_aslr=(setarch "$(uname -m)" -R)
fi
# Qt is not built with ThreadSanitizer; the file says what is left unchecked.
TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tests/ui/qt.tsan.supp" \
  "${no_aslr[@]}" ctest --test-dir "$tsan" -L tsan --output-on-failure -j "$((jobs * 2))" \
  --timeout 300

echo "== fuzzing (libFuzzer, a few seconds per parser)"
scripts/fuzz.sh "${TARNWICK_FUZZ_SECONDS:-3}"

echo "== all tests passed"
