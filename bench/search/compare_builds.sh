#!/usr/bin/env bash
# Compares builds of bench_search on the same documents, run in turns so that
# a machine whose speed drifts treats them alike: for each build, the median
# over N rounds of a search without the layer cache, a first search into an
# empty cache and the same search again (click to "Done.", seconds).
#
#   bash bench/search/compare_builds.sh [-n N] FOLDER BIN_DIR...
#
# FOLDER holds the documents (bench_search --corpus writes generated ones);
# each BIN_DIR holds a bench_search. Nothing is mounted: for a share, give
# FOLDER on a slowfs mount (bench/share/run.sh shows how).
set -euo pipefail
rounds=5
if [ "${1:-}" = -n ]; then rounds=$2; shift 2; fi
[ $# -ge 2 ] || { sed -n 2,11p "$0" >&2; exit 2; }
folder=$1; shift
count=$(find "$folder" \( -iname '*.psd' -o -iname '*.psb' \) -type f | wc -l)
export QT_QPA_PLATFORM=offscreen
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
run() { "$1/bench_search" --real "$folder" --count "$count" --child window 2>/dev/null | tail -1 | awk '{print $2}'; }
# The ratios are also taken within each round (the three runs follow each
# other), so that a drift of the machine's speed between rounds cancels out.
declare -A off first again firstRatio againRatio
for _ in $(seq "$rounds"); do
  for bin in "$@"; do
    o=$(HALVORINE_CACHE=off run "$bin")
    rm -rf "$scratch/cache"
    f=$(XDG_CACHE_HOME=$scratch/cache run "$bin")
    r=$(XDG_CACHE_HOME=$scratch/cache run "$bin")
    off[$bin]+="$o " first[$bin]+="$f " again[$bin]+="$r "
    firstRatio[$bin]+="$(awk -v a="$f" -v b="$o" 'BEGIN { print a / b }') "
    againRatio[$bin]+="$(awk -v a="$r" -v b="$o" 'BEGIN { print a / b }') "
  done
done
median() { tr ' ' '\n' | grep . | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
echo "$count documents, medians of $rounds rounds (ratios: medians of each round's own)"
for bin in "$@"; do
  awk -v b="$bin" -v o="$(median <<<"${off[$bin]}")" -v f="$(median <<<"${first[$bin]}")" \
    -v r="$(median <<<"${again[$bin]}")" -v fr="$(median <<<"${firstRatio[$bin]}")" \
    -v rr="$(median <<<"${againRatio[$bin]}")" \
    'BEGIN { printf "%-24s uncached %.3f  first %.3f (%.2fx)  repeated %.3f (%.2fx)\n", b, o, f, fr, r, rr }'
done
