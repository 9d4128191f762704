#!/usr/bin/env bash
# Builds the Debian package: a Release build of the shipped programs only
# (build/release, shared with scripts/run.sh), then `cpack -G DEB`, whose
# dependencies dpkg-shlibdeps computes from the binaries. Prints the
# package's path on stdout, and everything else on stderr.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh >&2
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DHALVORINE_TESTS=OFF >/dev/null
cmake --build build/release -j "$jobs" >&2
rm -f build/release/halvorine_*.deb
(cd build/release && cpack -G DEB >&2)
deb=(build/release/halvorine_*.deb)
[ -f "${deb[0]}" ] || { echo "package.sh: cpack made no package" >&2; exit 1; }
realpath "${deb[0]}"
