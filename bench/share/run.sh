#!/usr/bin/env bash
# Reading documents and scanning folders on a network share, emulated with
# slowfs (../shared/slowfs): every file-system request waits a fixed delay,
# 1 ms for an office LAN, 5 ms over a VPN, and real links also share a
# limited bandwidth (1 Gbit/s in an office, 100 Mbit/s over a VPN). Runs side
# by side, and prints one table, with the bytes and requests per document
# where the run counts them:
#   pfloor               the I/O floor of listing layer names, 1/32/64 in flight
#   bench_read_ahead     the read-ahead pool alone, K = 1, 8, 16, 32, 64
#   bench_search         "Start Searching" to "Done." through the real window
#                        (without the layer cache; then a first and a repeated
#                        search through it, next to pstat, the status floor)
#   bench_folder_scan    "Add All PSD File(s) In Folder" over a 10,000-file tree
#   bench_parallel_walk  the parallel readdir+stat floor of that scan
# "local" is the same on the local disk with a warm cache (nothing mounted).
#
# Needs root: it mounts with FUSE (/dev/fuse) and drops the kernel's caches
# (/proc/sys/vm/drop_caches) before every timed run. Installs fuse3,
# libfuse3-dev and pkg-config when missing; builds the benchmarks (Release,
# build/bench) when they are missing. Unmounts everything on exit.
set -euo pipefail

usage() {
  cat >&2 <<'EOF'
usage (as root): bash bench/share/run.sh [options] [FOLDER]
  FOLDER              the documents (default: 2,000 generated 50-layer
                      documents, written once into the scratch folder)
  --scratch DIR       tools, tree and mount points (default /tmp/halvorine-share-bench)
  --build DIR         where the benchmarks are built (default build/bench)
  --delays "L..."     default "local 1 5 1:1000 5:100": a delay in ms, or
                      DELAY:MBPS for a link of MBPS Mbit/s
  --k "K..."          read-ahead K for bench_read_ahead (default "1 8 16 32 64")
  --search-k "K..."   also run bench_search with --read-ahead K for each K
  --no-tree           leave out the folder scan
EOF
  exit 2
}

arguments=$(printf ' %q' "$@")
repo=$(cd "$(dirname "$0")/../.." && pwd)
scratch=/tmp/halvorine-share-bench
build=$repo/build/bench
delays="local 1 5 1:1000 5:100"
ks="1 8 16 32 64"
search_ks=""
tree=1
folder=""
while [ $# -gt 0 ]; do
  case "$1" in
    --scratch) scratch=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    --delays) delays=$2; shift 2 ;;
    --k) ks=$2; shift 2 ;;
    --search-k) search_ks=$2; shift 2 ;;
    --no-tree) tree=0; shift ;;
    -h|--help|-*) usage ;;
    *) [ -z "$folder" ] || usage; folder=$1; shift ;;
  esac
done
[ "$(id -u)" -eq 0 ] || { echo "run.sh needs root (FUSE mounts, drop_caches)" >&2; usage; }
[ -e /dev/fuse ] || { echo "no /dev/fuse" >&2; exit 1; }

# --- tools -----------------------------------------------------------------
missing=()
for p in fuse3 libfuse3-dev pkg-config; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
mkdir -p "$scratch/mnt"
slowsrc=$repo/../shared/slowfs
cc -O2 -Wall -o "$scratch/slowfs" "$slowsrc/slowfs.c" $(pkg-config --cflags --libs fuse3) -lpthread
cc -O2 -o "$scratch/pfloor" "$slowsrc/pfloor.c" -lpthread
cc -O2 -o "$scratch/pstat" "$slowsrc/pstat.c" -lpthread
benches=(bench_read_ahead bench_search)
[ "$tree" = 1 ] && benches+=(bench_folder_scan bench_parallel_walk)
for b in "${benches[@]}"; do
  if [ ! -x "$build/bin/$b" ]; then
    cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DHALVORINE_TESTS=ON >/dev/null
    cmake --build "$build" -j "$(nproc)" --target "${benches[@]}"
    break
  fi
done
bin=$build/bin

# --- data ------------------------------------------------------------------
if [ -z "$folder" ]; then
  folder=$scratch/documents
  echo "writing the documents into $folder (once) ..."
  "$bin/bench_search" --corpus "$folder" --window-only >/dev/null
fi
folder=$(cd "$folder" && pwd)
if [ "$tree" = 1 ] && [ ! -d "$scratch/tree" ]; then
  "$bin/bench_folder_scan" --write "$scratch/tree.part" && mv "$scratch/tree.part" "$scratch/tree"
fi

# --- mounts ----------------------------------------------------------------
pids=()
mounts=()
cleanup() {
  for m in "${mounts[@]}"; do fusermount3 -u "$m" 2>/dev/null || umount -l "$m" 2>/dev/null || true; done
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT INT TERM

# mount SOURCE MOUNTPOINT DELAY_MS[:MBPS]
mount_slow() {
  mkdir -p "$2"
  local options="delay_ms=${3%%:*}"
  [[ "$3" == *:* ]] && options+=",bw_mbps=${3#*:}"
  "$scratch/slowfs" "$1" "$2" -f -o "$options" 2>>"$scratch/slowfs.log" &
  pids+=($!)
  mounts+=("$2")
  for _ in $(seq 100); do mountpoint -q "$2" && return 0; sleep 0.1; done
  echo "slowfs did not mount $2" >&2
  exit 1
}
unmount_all() {
  cleanup
  pids=()
  mounts=()
}

drop() { sync; echo 3 >/proc/sys/vm/drop_caches; }
# field NAME: the word after NAME in the line on standard input
field() { awk -v n="$1" '{ for (i = 1; i < NF; i++) if ($i == n) { print $(i + 1); exit } }'; }

# per COUNT FILES: COUNT per file, two decimals
per() { awk -v c="$1" -v f="$2" 'BEGIN { if (c != "" && f > 0) printf "%.2f", c / f }'; }
table=()
row() { table+=("$(printf '%-13s %-18s %-9s %9s %6s %7s %6s %10s %8s' "$@")"); }

# The layer cache: a search into an empty cache, the same search again, and
# the floor of the second (pstat: a status request per document, 64 in
# flight); the cache's size per 1,000 documents goes to the log.
layer_cache_runs() {
  rm -rf "$scratch/layer-cache"
  for c in first repeated; do
    timed
    line=$("$bin/bench_search" --real "$docs" --window-only --cache-dir "$scratch/layer-cache" | tail -1 || true)
    echo "$line"
    row "$label" "bench_search cache $c" default "$(field click-to-done <<<"$line")" "$(field documents <<<"$line")" \
      "$(field rows <<<"$line")" "$(field errors <<<"$line")"
  done
  echo "layer cache: $(du -sk "$scratch/layer-cache" | cut -f1) KiB for $(wc -l <"$scratch/list") documents"
  timed
  local start end
  start=$(date +%s.%N)
  line=$(cd "$docs" && "$scratch/pstat" 64 "$scratch/list" || true)
  end=$(date +%s.%N)
  echo "$line"
  row "$label" pstat 64 "$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')" "$(field files <<<"$line")" "" "$(field failed <<<"$line")"
}

# --- runs ------------------------------------------------------------------
for d in $delays; do
  if [ "$d" = local ]; then
    docs=$folder
    treedir=$scratch/tree
    timed() { :; }
    label=local
    "$bin/bench_read_ahead" "$docs" --k 8 >/dev/null # warms the cache
  else
    mount_slow "$folder" "$scratch/mnt/docs" "$d"
    docs=$scratch/mnt/docs
    treedir=$scratch/mnt/tree
    [ "$tree" = 1 ] && mount_slow "$scratch/tree" "$treedir" "$d"
    timed() { drop; }
    label="${d%%:*} ms"
    [[ "$d" == *:* ]] && label+=" ${d#*:}M"
  fi
  echo "== $label"
  (cd "$docs" && find . \( -iname '*.psd' -o -iname '*.psb' \) -type f | sort >"$scratch/list")
  inflight="1 32 64"
  [[ "$d" == *:* ]] && inflight="64" # the sequential floor is the same as without a limit
  for k in $inflight; do
    timed
    line=$(cd "$docs" && "$scratch/pfloor" "$k" "$scratch/list" || true)
    echo "$line"
    files=$(field files <<<"$line")
    row "$label" pfloor "$k" "$(field seconds <<<"$line")" "$files" \
      "$(field layers <<<"$line")" "$(field failed <<<"$line")" \
      "$(per "$(field bytes_read <<<"$line")" "$files" | cut -d. -f1)" "$(per "$(field preads <<<"$line")" "$files")"
  done
  for k in $ks; do
    timed
    line=$("$bin/bench_read_ahead" "$docs" --k "$k" | tail -1)
    echo "$line"
    row "$label" bench_read_ahead "$k" "$(field seconds <<<"$line")" "$(field documents <<<"$line")" \
      "$(field items <<<"$line")" "$(field errors <<<"$line")" "$(field bytes_per_doc <<<"$line")" \
      "$(field requests_per_doc <<<"$line")"
  done
  for k in default $search_ks; do
    timed
    opts=()
    [ "$k" != default ] && opts=(--read-ahead "$k")
    line=$("$bin/bench_search" --real "$docs" --window-only "${opts[@]}" | tail -1 || true)
    echo "$line"
    row "$label" "bench_search" "$k" "$(field click-to-done <<<"$line")" "$(field documents <<<"$line")" \
      "$(field rows <<<"$line")" "$(field errors <<<"$line")"
  done
  layer_cache_runs
  if [ "$tree" = 1 ]; then
    timed
    line=$("$bin/bench_folder_scan" --real "$treedir" | tail -1)
    echo "$line"
    row "$label" "bench_folder_scan" 1 "$(field seconds <<<"$line")" "$(field files <<<"$line")" "" ""
    for t in 1 32; do
      timed
      line=$("$bin/bench_parallel_walk" "$treedir" --threads "$t")
      echo "$line"
      row "$label" "bench_parallel_walk" "$t" "$(field seconds <<<"$line")" "$(field files <<<"$line")" "" \
        "$(field errors <<<"$line")"
    done
  fi
  unmount_all
done

echo
echo "command: bash bench/share/run.sh$arguments (documents: $folder)"
printf '%-13s %-18s %-9s %9s %6s %7s %6s %10s %8s\n' share run "in flight" seconds files items errors bytes/doc req/doc
printf '%s\n' "${table[@]}"
