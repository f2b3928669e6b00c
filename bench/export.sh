#!/usr/bin/env bash
# Benchmarks pelko-cli's text export against public tools on the same data, in the same run.
#
# The data: a generated tree of FILES files in FOLDERS folders (bench/make-tree), scanned COPIES
# times under different names (through symbolic links), so the catalog holds COPIES scan objects
# of FILES files each, as COPIES compressed disc files in Disk/.
#
#   1. Text export of the whole catalog (tree layout, memos on), which inflates and parses every
#      disc file and writes one listing per scan object, against the inflate floor: unzip -p of
#      the same disc files to /dev/null. This is the cost no export from the compressed catalog
#      can avoid. Goal <= 2.0.
#   2. Text export of one scan object against find -printf over the tree it was scanned from
#      (warm cache): both print one line per folder and file of the same tree, find from the file
#      system's cached metadata, pelko-cli from the catalog.
#   3. The same as 1 in CPU seconds, and the peak memory of the whole-catalog export (GNU time), next to the size of one disc file
#      inflated: the export holds one scan object at a time.
#
# Usage: bench/export.sh BUILD_DIR [FILES FOLDERS COPIES]   (default 200000 20000 5)
# The tree and catalog are kept in $PELKO_EXPORT_BENCH_DIR (default /tmp/pelko-export-bench).
set -euo pipefail
build=$(cd "$1" && pwd)
files=${2:-200000}
folders=${3:-20000}
copies=${4:-5}
work=${PELKO_EXPORT_BENCH_DIR:-/tmp/pelko-export-bench}
tree=$work/tree
catalog=$work/catalog
cli=$build/apps/pelko-cli/pelko-cli
runs=3

if [ ! -f "$work/tree-$files-$folders.done" ]; then
    rm -rf "$work"
    mkdir -p "$work"
    echo "generating $files files in $folders folders under $tree ..."
    "$build/bench/make-tree" "$tree" "$files" "$folders"
    touch "$work/tree-$files-$folders.done"
fi
if [ ! -f "$work/catalog-$copies.done" ]; then
    rm -rf "$catalog" "$work"/disc*
    echo "scanning the tree $copies times into $catalog ..."
    for i in $(seq "$copies"); do
        ln -s tree "$work/disc$i"
        "$cli" --catalog "$catalog" scan-folder "$work/disc$i" --name "Disc $i" >/dev/null 2>&1
    done
    touch "$work/catalog-$copies.done"
fi

source "$(dirname "$0")/lib.sh"

export_all() { "$cli" --catalog "$catalog" --set g_bExportTree=1 export --text --memo --no-progress; }
export_one() { "$cli" --catalog "$catalog" --set g_bExportTree=1 export --text "Disc 1" --memo --no-progress; }
inflate_all() { for z in "$catalog"/Disk/*.zip; do unzip -p "$z"; done; }

export_all >/dev/null  # warm the cache
find "$tree/" -printf '%d %f\n' >/dev/null
t_export=$(best export_all)
t_unzip=$(best inflate_all)
t_one=$(best export_one)
t_find=$(best find "$tree/" -printf '%d %f\n')

total=$((files * copies))
printf 'catalog: %s scan objects, %s files; text listings %s bytes\n' "$copies" "$total" \
    "$(du -cb "$catalog"/Pelko/*.txt | tail -1 | cut -f1)"
printf 'export --text (all) %.3f s / unzip -p of the disc files %.3f s = %.2f (goal <= 2.0)\n' \
    "$t_export" "$t_unzip" "$(echo "$t_export / $t_unzip" | bc -l)"
printf 'export --text (one scan object) %.3f s / find -printf of its tree %.3f s = %.2f\n' \
    "$t_one" "$t_find" "$(echo "$t_one / $t_find" | bc -l)"
if [ -x /usr/bin/time ]; then
    # CPU seconds (user + system) as well: on a busy machine wall time also counts waiting.
    cpu() {
        /usr/bin/time -f '%U %S' -o "$work/cpu" "$@" >/dev/null 2>&1
        awk '{print $1 + $2}' "$work/cpu"
    }
    c_export=$(cpu "$cli" --catalog "$catalog" export --text --memo --no-progress)
    c_unzip=$(cpu sh -c 'for z in "$0"/Disk/*.zip; do unzip -p "$z"; done' "$catalog")
    printf 'CPU time: export %.3f s / unzip -p %.3f s = %.2f\n' "$c_export" "$c_unzip" \
        "$(echo "$c_export / $c_unzip" | bc -l)"
    /usr/bin/time -f %M -o "$work/peak" "$cli" --catalog "$catalog" export --text --memo --no-progress >/dev/null 2>&1
    peak=$(tail -1 "$work/peak")
    disc=$(unzip -p "$(ls "$catalog"/Disk/*.zip | head -1)" | wc -c)
    printf 'peak memory of the whole export: %s KiB; one disc file inflated: %s KiB\n' "$peak" "$((disc / 1024))"
fi
