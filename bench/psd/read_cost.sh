#!/usr/bin/env bash
# Bytes and read requests per document of one psdlayers build over every
# .psd/.psb under FOLDER, counted with strace from outside the program, so
# any two builds (before and after a change) are measured the same way.
#
#   bash bench/psd/read_cost.sh PSDLAYERS FOLDER
# prints: documents N requests_per_doc R bytes_per_doc B
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: bash bench/psd/read_cost.sh PSDLAYERS FOLDER" >&2; exit 2; }
command -v strace >/dev/null || { echo "strace is needed (apt-get install strace)" >&2; exit 1; }
trace=$(mktemp)
list=$(mktemp)
trap 'rm -f "$trace" "$list"' EXIT
find "$2" -type f \( -iname '*.psd' -o -iname '*.psb' \) -print0 | sort -z >"$list"
n=$(tr -cd '\0' <"$list" | wc -c)
# -y names each descriptor's file, so only the documents' reads are counted.
ASAN_OPTIONS=detect_leaks=0 xargs -0 strace -A -f -qq -y -e trace=pread64,read -o "$trace" "$1" <"$list" >/dev/null 2>&1 || true
grep -E '^[0-9]+ +p?read(64)?\([0-9]+<[^>]*\.(psd|psb|PSD|PSB)>' "$trace" |
  sed -E 's/.*= ([0-9]+)$/\1/' |
  awk -v n="$n" '{ requests++; if ($1 ~ /^[0-9]+$/) bytes += $1 }
    END { printf "documents %d requests_per_doc %.2f bytes_per_doc %.0f\n", n, requests / n, bytes / n }'
