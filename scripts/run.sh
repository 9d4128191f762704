#!/usr/bin/env bash
# Installs what is missing, builds Halvorine and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DHALVORINE_TESTS=OFF >/dev/null
cmake --build build/release --target halvorine
exec build/release/bin/halvorine "$@"
