#!/usr/bin/env bash
# Checks a Halvorine package (scripts/package.sh makes it): lintian (no error
# and no warning), its dependencies, the files it installs, the desktop entry
# and metainfo validators, and the installed program started under the
# offscreen platform with the sample folder as argument, whose file list must
# hold the samples.
#
# The package is unpacked into a staging root and checked there. On CI
# (CI=true, as root) it is also installed for real with apt-get, checked the
# same way, and purged, after which none of its files may be left.
#   scripts/check-package.sh PACKAGE.deb
set -euo pipefail
deb=$(realpath "$1")
id=example.halvorine.Halvorine
fail() {
  echo "check-package: $*" >&2
  exit 1
}

# Debian's package checker: its informational notes are shown, an error or
# a warning fails the check.
as_root=()
[ "$(id -u)" -ne 0 ] || as_root=(--allow-root)
lintian "${as_root[@]}" --display-info --fail-on error,warning "$deb" >&2 || fail "lintian reports errors or warnings"
echo "check-package: lintian reports no error and no warning"

depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libqt6widgets6 libxlsxwriter; do
  [[ $depends == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done

# The package's own files (not its folders), without the leading "./".
mapfile -t files < <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }')

# check_tree ROOT: the package's files under ROOT, as a staging root or "" for /.
check_tree() {
  local root=$1 data=$1/usr/share/halvorine
  local expected=(usr/bin/halvorine usr/bin/halvorine-find usr/share/man/man1/halvorine.1.gz
    usr/share/man/man1/halvorine-find.1.gz usr/share/doc/halvorine/copyright
    usr/share/doc/halvorine/changelog.Debian.gz usr/share/halvorine/HAND-M.CUR usr/share/halvorine/drag.ico
    usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/$id.svg)
  for size in 16 32 48 64 128 256; do expected+=("usr/share/icons/hicolor/${size}x$size/apps/$id.png"); done
  for f in "${expected[@]}"; do [ -f "$root/$f" ] || fail "missing /$f"; done
  [ -x "$root/usr/bin/halvorine" ] || fail "/usr/bin/halvorine is not executable"
  desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop entry not valid"
  appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" || fail "metainfo not valid"

  local listed
  listed=$(cd / && QT_QPA_PLATFORM=offscreen "$root/usr/bin/halvorine" --print-file-list "$data/Samples")
  local want
  want=$(printf '%s\n' "$data/Samples/Banner.psd" "$data/Samples/Logo.psd" "$data/Samples/Poster.psd")
  [ "$listed" = "$want" ] || fail "the file list of the installed program holds:
$listed
expected:
$want"
  local found
  found=$(cd / && "$root/usr/bin/halvorine-find" -l Layer "$data/Samples")
  [ "$found" = "$want" ] || fail "the installed halvorine-find found:
$found
expected:
$want"
  echo "check-package: ${root:-/}: files, validators, the installed program's file list and halvorine-find are right"
}

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
dpkg-deb -x "$deb" "$stage"
check_tree "$stage"

if [ "${CI:-}" = true ] && [ "$(id -u)" -eq 0 ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$deb" >/dev/null
  check_tree ""
  grep -q "$id.desktop" /usr/share/applications/mimeinfo.cache || fail "the menu does not know the program's types"
  DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq halvorine >/dev/null
  for f in "${files[@]}"; do [ ! -e "/$f" ] || fail "/$f is left after removal"; done
  [ ! -e /usr/share/halvorine ] || fail "/usr/share/halvorine is left after removal"
  ! grep -q "$id.desktop" /usr/share/applications/mimeinfo.cache || fail "the menu still names the program"
  echo "check-package: installed with apt-get, checked and purged without leftovers"
fi
