#!/usr/bin/env bash
# Builds the whole test suite with address and undefined-behaviour sanitizers
# and runs it with CTest; then builds the tests labelled "threads" once more
# with the thread sanitizer (build/tsan) and runs them there.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/check-format.sh
python3 scripts/check-sizes.py
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHALVORINE_SANITIZE=ON >/dev/null
cmake --build build/test -j "$jobs"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
(cd build/test && ctest --output-on-failure -j "$jobs" "$@")

cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHALVORINE_TSAN=ON >/dev/null
cmake --build build/tsan -j "$jobs" --target halvorine_threads_tests
tsan_options="halt_on_error=1:second_deadlock_stack=1"
tsan_suppressions="$PWD/scripts/tsan.supp"
# This sanitizer cannot map its shadow memory with the address randomisation
# of some newer kernels; run without it there.
no_aslr=()
if [ "$(cat /proc/sys/vm/mmap_rnd_bits 2>/dev/null || echo 28)" -gt 28 ] && setarch "$(uname -m)" -R true 2>/dev/null; then
  no_aslr=(setarch "$(uname -m)" -R)
fi
# A race shows up in some runs only, so each test runs up to five times and
# the first failure ends it (about 15 s in all on 2 cores).
# Qt's own races are suppressed only for the tests that show a window.
(cd build/tsan && TSAN_OPTIONS=$tsan_options "${no_aslr[@]}" \
  ctest --output-on-failure -j "$jobs" --repeat until-fail:5 -L threads -LE window-threads "$@")
(cd build/tsan && TSAN_OPTIONS="$tsan_options:suppressions=$tsan_suppressions" "${no_aslr[@]}" \
  ctest --output-on-failure -j "$jobs" --repeat until-fail:5 -L window-threads "$@")

# The Debian package: built from a Release build, unpacked (on CI also
# installed) and checked.
deb=$(bash scripts/package.sh | tail -n 1)
bash scripts/check-package.sh "$deb"
