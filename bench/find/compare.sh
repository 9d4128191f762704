#!/usr/bin/env bash
# halvorine-find next to `psdlayers FILES | grep -i TEXT` on the same files,
# warm cache, over the reference corpus (../shared/psd-corpus) and over the
# 2,000 generated documents of bench_search. Prints the best wall time of
# several runs of each command, and halvorine-find's time over the pipeline's.
#
# usage: bash bench/find/compare.sh [--build DIR] [--runs N]
#   --build DIR   Release build holding the programs (default build/bench;
#                 configured and built there when they are missing)
#   --runs N      timed runs per figure, after one warming run (default 5)
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
build=$repo/build/bench
runs=5
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    *) sed -n '2,10p' "$0" >&2; exit 2 ;;
  esac
done

bin=$build/bin
if [ ! -x "$bin/halvorine-find" ] || [ ! -x "$bin/psdlayers" ] || [ ! -x "$bin/bench_find_corpus" ]; then
  cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DHALVORINE_TESTS=ON >/dev/null
  cmake --build "$build" -j2 --target halvorine-find psdlayers bench_find_corpus >/dev/null
fi

# The best of $runs wall times of "$@", in seconds, output thrown away.
best_time() {
  "$@" >/dev/null 2>&1 || true
  local best=0 i start took
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 || true
    took=$(($(date +%s%N) - start))
    if [ "$best" -eq 0 ] || [ "$took" -lt "$best" ]; then best=$took; fi
  done
  awk -v ns="$best" 'BEGIN { printf "%.3f", ns / 1e9 }'
}

pipeline() { "$bin/psdlayers" "${files[@]}" | grep -i -- "$text"; }
find_files() { "$bin/halvorine-find" "$@" -- "$text" "${files[@]}"; }
find_folder() { "$bin/halvorine-find" -- "$text" "$folder"; }

# compare NAME FOLDER TEXT: one row of the table.
compare() {
  local name=$1
  folder=$2
  text=$3
  mapfile -d '' files < <(find "$folder" -type f \( -iname '*.psd' -o -iname '*.psb' \) -print0 | sort -z)
  local lines_p lines_f t_pipe t_find t_j1 t_folder
  lines_p=$(pipeline | wc -l)
  lines_f=$(find_files 2>/dev/null | wc -l)
  t_pipe=$(best_time pipeline)
  t_find=$(best_time find_files)
  t_j1=$(best_time find_files -j 1)
  t_folder=$(best_time find_folder)
  printf '%-10s %6d %-6s %9s %9s %9s %9s %7s %8s %8s\n' "$name" "${#files[@]}" "$text" "$t_pipe" "$t_find" \
    "$t_j1" "$t_folder" "$(awk -v a="$t_find" -v b="$t_pipe" 'BEGIN { printf "%.2f", a / b }')" \
    "$lines_p" "$lines_f"
}

generated=${TMPDIR:-/tmp}/halvorine-search-bench-2000x50
"$bin/bench_find_corpus" "$generated" >/dev/null

echo "seconds, best of $runs warm runs; 'psdlayers|grep' is psdlayers FILES | grep -i TEXT,"
echo "'find' is halvorine-find TEXT FILES (default -j), 'find -j1' reads one document at a time,"
echo "'find dir' walks the folder itself; 'ratio' is find / psdlayers|grep; lines written by each"
printf '%-10s %6s %-6s %9s %9s %9s %9s %7s %8s %8s\n' corpus docs text 'psdl|grep' find 'find -j1' 'find dir' \
  ratio 'lines p' 'lines f'
if [ -d "$repo/../shared/psd-corpus" ]; then
  compare reference "$repo/../shared/psd-corpus" layer
fi
compare generated "$generated" logo
