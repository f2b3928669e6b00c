#!/usr/bin/env bash
# Benchmarks pelko-cli against public tools on the same machine, in the same run:
#   1. scan-folder of a generated tree  vs  find -printf of the same tree, and vs ncdu reading
#      the same tree (process vs process)
#   2. dump --summary of its disc ZIP   vs  unzip -p of the same ZIP (process vs process)
#   3. heap bytes per file record of the loaded tree, beyond the names (measured; no partner)
#   3b. the search index the scan wrote: its size against the disc ZIP, and the time building it
#      takes (index --rebuild less dump --summary, which loads the same disc) against the scan
#   4. saving and loading a catalog file of 20,000 entries in 2,000 categories  vs  the C
#      library writing and reading the same bytes (in-process, bench/catalog-bench)
# Usage: bench/run.sh BUILD_DIR [FILES FOLDERS]. The tree is kept in $PELKO_BENCH_DIR
# (default /tmp/pelko-bench) between runs, since creating it takes a while.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
build=$(cd "$1" && pwd)
files=${2:-200000}
folders=${3:-20000}
work=${PELKO_BENCH_DIR:-/tmp/pelko-bench}
tree=$work/tree
cli=$build/apps/pelko-cli/pelko-cli
runs=5
need find unzip bc ncdu

if [ ! -f "$work/tree-$files-$folders.done" ]; then
    rm -rf "$work"
    mkdir -p "$work"
    echo "generating $files files in $folders folders under $tree ..."
    "$build/bench/make-tree" "$tree" "$files" "$folders"
    touch "$work/tree-$files-$folders.done"
fi

scan_once() {
    rm -rf "$work/catalog"
    "$cli" --catalog "$work/catalog" scan-folder "$tree"
}

expect "files found by find" "$(find "$tree" -type f | wc -l)" "$files"  # and the cache is warm
t_find=$(best find "$tree" -printf '%s %T@ %p\n')
t_ncdu=$(best ncdu -0 -x -o /dev/null "$tree")
t_scan=$(best scan_once)
expect_scanned scan-folder "$work/catalog" "$files"
zip=$(disc_file "$work/catalog")
expect_at_least "bytes unzip -p inflates" "$(unzip -p "$zip" | wc -c)" 1
t_unzip=$(best unzip -p "$zip")
t_load=$(best "$cli" dump --summary "$zip")
t_rebuild=$(best "$cli" --catalog "$work/catalog" index --rebuild)
index_file=("$work/catalog"/Index/*.idx)
index_bytes=$(stat -c %s "${index_file[0]}")
zip_bytes=$(stat -c %s "$zip")
memory=$("$build/bench/load-memory" "$zip")
expect "records loaded by load-memory" "$(echo "$memory" | sed 's/.*: \([0-9]*\) records.*/\1/')" "$files"

printf 'tree: %s files, %s folders; ZIP %s bytes\n' "$files" "$folders" "$zip_bytes"
ratio scan-folder "$t_scan" find "$t_find" "goal <= 0.8"
ratio scan-folder "$t_scan" "ncdu -0 -x -o /dev/null" "$t_ncdu" "no goal; ncdu / find = $(printf '%.3f' "$(echo "$t_ncdu / $t_find" | bc -l)")"
ratio "dump --summary" "$t_load" "unzip -p" "$t_unzip" "goal <= 1.2"
printf 'loaded tree: %s; goal <= 64, absolute (no partner)\n' "$memory"
printf 'search index: %s bytes = %.3f x the ZIP (goal <= 0.5); building it %.3f s = %.3f of the scan (goal <= 0.10)\n' \
    "$index_bytes" "$(echo "$index_bytes / $zip_bytes" | bc -l)" \
    "$(echo "$t_rebuild - $t_load" | bc -l)" "$(echo "($t_rebuild - $t_load) / $t_scan" | bc -l)"

"$build/bench/catalog-bench" "$work/catalog-bench" 20000 2000
