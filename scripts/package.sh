#!/usr/bin/env bash
# Builds the Debian package: a Release build of the shipped programs only
# (build/release, shared with scripts/run.sh), then `cpack -G DEB`, whose
# dependencies dpkg-shlibdeps computes from the binaries. Prints the
# package's path on stdout, and everything else on stderr.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh >&2
jobs=$(nproc 2>/dev/null || echo 2)
# Debian's build flags with every hardening feature (dpkg-buildflags):
# fortified functions (-D_FORTIFY_SOURCE=2), -fstack-protector-strong,
# relocations read-only and bound at start (-z relro -z now), and PIE (the
# compiler's default).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DHALVORINE_TESTS=OFF \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" -DCMAKE_POSITION_INDEPENDENT_CODE=ON >/dev/null
cmake --build build/release -j "$jobs" >&2
rm -f build/release/halvorine_*.deb
(cd build/release && cpack -G DEB >&2)
deb=(build/release/halvorine_*.deb)
[ -f "${deb[0]}" ] || { echo "package.sh: cpack made no package" >&2; exit 1; }
realpath "${deb[0]}"
