#!/usr/bin/env bash
# Benchmarks pelko-cli against public tools on the same machine, in the same run:
#   1. scan-folder of a generated tree  vs  find -printf of the same tree
#   2. dump --summary of its disc ZIP   vs  unzip -p of the same ZIP
#   3. heap bytes per file record of the loaded tree, beyond the names
# Usage: bench/run.sh BUILD_DIR [FILES FOLDERS]. The tree is kept in $PELKO_BENCH_DIR
# (default /tmp/pelko-bench) between runs, since creating it takes a while.
set -euo pipefail
build=$(cd "$1" && pwd)
files=${2:-200000}
folders=${3:-20000}
work=${PELKO_BENCH_DIR:-/tmp/pelko-bench}
tree=$work/tree
cli=$build/apps/pelko-cli/pelko-cli
runs=5

if [ ! -f "$work/tree-$files-$folders.done" ]; then
    rm -rf "$work"
    mkdir -p "$work"
    echo "generating $files files in $folders folders under $tree ..."
    "$build/bench/make-tree" "$tree" "$files" "$folders"
    touch "$work/tree-$files-$folders.done"
fi

source "$(dirname "$0")/lib.sh"

scan_once() {
    rm -rf "$work/catalog"
    "$cli" --catalog "$work/catalog" scan-folder "$tree"
}

find "$tree" -printf '%s %T@ %p\n' >/dev/null  # warm the cache
t_find=$(best find "$tree" -printf '%s %T@ %p\n')
t_scan=$(best scan_once)
zip=$(ls "$work"/catalog/Disk/*.pkb.zip)
t_unzip=$(best unzip -p "$zip")
t_load=$(best "$cli" dump --summary "$zip")
memory=$("$build/bench/load-memory" "$zip")

printf 'tree: %s files, %s folders; ZIP %s bytes\n' "$files" "$folders" "$(stat -c %s "$zip")"
printf 'scan-folder %.3f s / find %.3f s = %.2f (goal <= 1.5)\n' "$t_scan" "$t_find" "$(echo "$t_scan / $t_find" | bc -l)"
printf 'dump --summary %.3f s / unzip -p %.3f s = %.2f (goal <= 2.5)\n' "$t_load" "$t_unzip" "$(echo "$t_load / $t_unzip" | bc -l)"
printf 'loaded tree: %s (goal <= 150)\n' "$memory"

# 4. The catalog file: save and load of 20,000 entries in 2,000 categories, next to a plain
#    copy of the same file by cp.
"$build/bench/catalog-bench" "$work/catalog-bench" 20000 2000
t_cp=$(best cp "$work/catalog-bench/tnk.dat" "$work/tnk.copy")
printf 'cp of the same catalog file (process included): %.1f ms\n' "$(echo "$t_cp * 1000" | bc -l)"
