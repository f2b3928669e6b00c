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
#   3. The same as 1 in CPU seconds, and the peak memory of the whole-catalog export (measured by
#      GNU time), next to the size of one disc file inflated: the export holds one scan object at
#      a time.
# Each export must write one listing of at least a line per file for each scan object it covers.
#
# Usage: bench/export.sh BUILD_DIR [FILES FOLDERS COPIES]   (default 200000 20000 5)
# The tree and catalog are kept in $PELKO_EXPORT_BENCH_DIR (default /tmp/pelko-export-bench).
set -euo pipefail
source "$(dirname "$0")/lib.sh"
build=$(cd "$1" && pwd)
files=${2:-200000}
folders=${3:-20000}
copies=${4:-5}
work=${PELKO_EXPORT_BENCH_DIR:-/tmp/pelko-export-bench}
tree=$work/tree
catalog=$work/catalog
cli=$build/apps/pelko-cli/pelko-cli
runs=3
need unzip find bc /usr/bin/time

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

export_all() { "$cli" --catalog "$catalog" --set g_bExportTree=1 export --text --memo --no-progress; }
export_one() { "$cli" --catalog "$catalog" --set g_bExportTree=1 export --text "Disc 1" --memo --no-progress; }
inflate_all() {
    local z
    for z in "$catalog"/Disk/*.zip; do unzip -p "$z" || return; done
}
export -f export_all inflate_all
export cli catalog
before_each() { rm -rf "$catalog/Pelko"; }
# check_listings N: the last export wrote the listings of discs 1 to N and no other, each of at
# least one line per file.
check_listings() {
    expect "text listings written" "$(find "$catalog" -path '*/Pelko/*.txt' | wc -l)" "$1"
    local i
    for i in $(seq "$1"); do
        expect_at_least "lines of the listing of Disc $i" "$(wc -l <"$catalog/Pelko/Disc $i.txt")" "$files"
    done
}

export_all >/dev/null  # warm the cache
expect_at_least "folders and files found by find" "$(find "$tree/" -printf '%d %f\n' | wc -l)" "$files"
expect_at_least "bytes unzip -p inflates" "$(inflate_all | wc -c)" 1
t_export=$(best export_all)
check_listings "$copies"
listing_bytes=$(du -cb "$catalog"/Pelko/*.txt | tail -1 | cut -f1)
t_unzip=$(best inflate_all)
t_one=$(best export_one)
check_listings 1
t_find=$(best find "$tree/" -printf '%d %f\n')

# CPU seconds (user + system) as well, on a busy machine wall time also counts waiting; and the
# peak resident size in KiB. usage FUNCTION prints both for one run.
usage() {
    /usr/bin/time -f '%U %S %M' -o "$work/usage" bash -c "$1" >/dev/null 2>&1 || fail "\`$1\` failed"
    awk '{print $1 + $2, $3}' "$work/usage"
}
export_usage=$(usage export_all)
check_listings "$copies"
unzip_usage=$(usage inflate_all)
read -r c_export peak <<<"$export_usage"
read -r c_unzip _ <<<"$unzip_usage"
disc=$(unzip -p "$(ls "$catalog"/Disk/*.zip | head -1)" | wc -c)

printf 'catalog: %s scan objects, %s files; text listings %s bytes\n' "$copies" "$((files * copies))" "$listing_bytes"
ratio "export --text (all)" "$t_export" "unzip -p of the disc files" "$t_unzip" "goal <= 2.0"
ratio "export --text (one scan object)" "$t_one" "find -printf of its tree" "$t_find"
if [ "$(echo "$c_unzip > 0" | bc)" = 1 ]; then ratio "CPU time: export" "$c_export" "unzip -p" "$c_unzip"; fi
printf 'peak memory of the whole export (measured): %s KiB; one disc file inflated: %s KiB\n' "$peak" "$((disc / 1024))"
