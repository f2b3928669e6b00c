#!/usr/bin/env bash
# Benchmarks browsing a large scan object in the desktop program's main window (in-process,
# bench/browse-bench, on Qt's offscreen platform: painted into memory, no X server needed):
#   1. selecting the scan object in the tree until the list has painted its root folder's rows
#      (loading the disc file included), best of $runs runs  /  `pelko-cli dump --summary` of
#      the same disc file, the whole process, best of $runs runs. Goal <= 1.5. Also printed: the
#      first selection of the bench's run over the same dump time.
#   2. sorting the root folder by size, then scrolling it from top to bottom a page at a time in
#      large icons with thumbnails: the longest time the window's event loop was blocked during
#      each (a 1 ms timer on the UI thread). Goal: no stall over 100 ms.
#   3. the heap the open scan object costs the window (growth across opening it, measured once
#      its rows are painted)  /  the heap of the same disc file loaded alone (bench/load-memory),
#      both mallinfo2 on the main arena. Goal <= 1.3.
# Data: a tree of 200,000 files whose root folder holds 20,000 files directly (2,000 of them
# small JPEGs copied from ../shared/fixtures/images, or drawn by ImageMagick when those are
# absent) and one folder with the other 180,000 files in 18,000 folders; scanned once with
# thumbnails on (g_bPicScan=1), kept in $PELKO_BENCH_DIR (default /tmp/pelko-bench-browse).
# The root folder's files are no archives, so the list then holds 20,002 rows: the ReadMe row,
# the folder and the 20,000 files.
# Usage: bench/browse.sh BUILD_DIR.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
build=$(cd "$1" && pwd)
work=${PELKO_BENCH_DIR:-/tmp/pelko-bench-browse}
tree=$work/tree
catalog=$work/catalog
cli=$build/apps/pelko-cli/pelko-cli
browse_bench=$build/bench/browse-bench
root_files=20000
pictures=2000
sub_files=180000
sub_folders=18000
files=$((root_files + sub_files))
rows=$((1 + 1 + root_files))  # ReadMe, the one folder, the files
runs=5
fixtures=${PELKO_SHARED_FIXTURES:-$(dirname "$0")/../../shared/fixtures}
export PELKO_SETTINGS_FILE=$work/Pelko.conf  # scan-folder's settings; never the user's file
export XDG_RUNTIME_DIR=$work/run  # Qt's runtime folder for the browse bench
need bc grep sed find
[ -x "$browse_bench" ] || fail "$browse_bench is not built"

if [ ! -f "$work/data-$files-$root_files-$pictures.done" ]; then
    rm -rf "$work"
    mkdir -p "$work/pictures"
    if [ -d "$fixtures/images" ]; then
        for picture in flower.jpg hopper.jpg hopper_gray.jpg; do cp "$fixtures/images/$picture" "$work/pictures/"; done
    else
        need convert
        convert -size 640x480 plasma:red-blue "$work/pictures/a.jpg"
        convert -size 320x240 gradient:yellow-green "$work/pictures/b.jpg"
        convert -size 800x600 plasma:fractal "$work/pictures/c.jpg"
    fi
    echo "generating $files files ($root_files in the root folder, $pictures of them pictures) under $tree ..."
    "$build/bench/make-flat-folder" "$tree" "$root_files" "$pictures" "$work/pictures"/*.jpg
    "$build/bench/make-tree" "$tree/子目录" "$sub_files" "$sub_folders"
    echo "scanning it with thumbnails into $catalog ..."
    "$cli" --catalog "$catalog" --set g_bPicScan=1 scan-folder "$tree" >/dev/null
    touch "$work/data-$files-$root_files-$pictures.done"
fi
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

expect_scanned "scan-folder --set g_bPicScan=1" "$catalog" "$files"
zip=$(disc_file "$catalog")
expect_at_least "thumbnails the scan wrote" "$(find "$catalog" -path '*.pic/*' -type f -name '*.jpg' | wc -l)" "$pictures"

t_dump=$(best "$cli" dump --summary "$zip")
out=$(QT_QPA_PLATFORM=offscreen "$browse_bench" "$catalog" "$rows" "$pictures" "$runs" 2>"$work/browse-bench.err") ||
    fail "browse-bench failed: $(tail -n 5 "$work/browse-bench.err")"
figure() {
    local value
    value=$(echo "$out" | sed -n "s/^$1 //p")
    [ -n "$value" ] || fail "browse-bench printed no $1: $out"
    echo "$value"
}
expect "rows shown by browse-bench" "$(figure rows)" "$rows"
expect_at_least "thumbnails painted by browse-bench" "$(figure pictures_ready)" "$pictures"
memory=$("$build/bench/load-memory" "$zip")
expect "records loaded by load-memory" "$(echo "$memory" | sed 's/.*: \([0-9]*\) records.*/\1/')" "$files"
heap_alone=$(echo "$memory" | sed -n 's/.*, heap \([0-9]*\) bytes.*/\1/p')
expect_at_least "heap of the disc file loaded alone" "$heap_alone" 1
heap_window=$(figure heap_bytes)
expect_at_least "heap growth of the window opening the scan object" "$heap_window" 1

printf 'scan object: %s files, %s in its root folder (%s with thumbnails); the list shows %s rows; ZIP %s bytes\n' \
    "$files" "$root_files" "$pictures" "$rows" "$(stat -c %s "$zip")"
ratio "selecting it until its rows are painted" "$(figure select_seconds)" "dump --summary" "$t_dump" "goal <= 1.5"
# The best run finds the heap warm from the runs before it; each dump process starts cold, as the
# program's first selection does (which also pays for the first look-ups of fonts and icons).
ratio "the first selection, cold" "$(figure select_seconds_first)" "dump --summary" "$t_dump" "goal <= 1.5"
printf 'longest stall of the event loop, sorting by size: %s ms (the sort call itself %s ms); goal <= 100 ms\n' \
    "$(figure sort_stall_ms)" "$(figure sort_ms)"
printf 'longest stall of the event loop, scrolling in large icons: %s ms (%s pages in %s s, %s pictures read); goal <= 100 ms\n' \
    "$(figure scroll_stall_ms)" "$(figure scroll_steps)" "$(figure scroll_seconds)" "$(figure pictures_ready)"
printf 'heap of the open scan object in the window %s bytes / loaded alone %s bytes = %.3f (goal <= 1.3)\n' \
    "$heap_window" "$heap_alone" "$(echo "$heap_window / $heap_alone" | bc -l)"
