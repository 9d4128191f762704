#!/usr/bin/env bash
# Builds the whole test suite with address and undefined-behaviour sanitizers
# and runs it with CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/check-format.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHALVORINE_SANITIZE=ON >/dev/null
cmake --build build/test -j "$jobs"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd build/test
ctest --output-on-failure -j "$jobs" "$@"
