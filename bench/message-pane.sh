#!/usr/bin/env bash
# Benchmarks the message pane under a search's flood of hits against pelko-cli find writing the
# same hits to a file, in the same run:
#   the pane: bench/message-pane-bench posts every hit line of the search from a worker thread
#   through the program's log to a shown message pane, and runs the event loop until the pane
#   holds (and has painted) them all; in-process time from the first post, best of $runs runs,
#   on Qt's offscreen platform (painted into memory, no X server needed)  /  the search:
#   `pelko-cli find WORD --what name > FILE`, the whole process (loading the catalog, inflating
#   every disc file, matching, writing the hits), best of $runs runs. Goal <= 3.0.
#   Also printed: the longest gap between two ticks of a 10 ms timer on the pane's thread during
#   the flood (the longest the window could not have answered input), the worst of the runs.
# Data: bench/search.sh's catalog of 100 scan objects x 10,000 files, shared with it in
# $PELKO_BENCH_DIR (default /tmp/pelko-bench-search) and generated once; the word "photo" is in
# one file name of eight, so the search yields about 125,000 hits. The pane bench checks that
# every posted line is in the pane, whole and in order, before it prints a figure.
# Usage: bench/message-pane.sh BUILD_DIR.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
build=$(cd "$1" && pwd)
discs=100
files=10000
work=${PELKO_BENCH_DIR:-/tmp/pelko-bench-search}
catalog=$work/catalog
cli=$build/apps/pelko-cli/pelko-cli
pane_bench=$build/bench/message-pane-bench
runs=3
word=photo
export PELKO_SETTINGS_FILE=$work/Pelko.conf  # find keeps its keys; never in the user's file
export XDG_RUNTIME_DIR=$work/run  # Qt's runtime folder for the pane bench
need bc grep sed
[ -x "$pane_bench" ] || fail "$pane_bench is not built"

if [ ! -f "$work/data-$discs-$files.done" ]; then
    rm -rf "$work"
    mkdir -p "$work"
    echo "generating $discs scan objects of $files files in $catalog ..."
    "$build/bench/make-search-catalog" "$catalog" "$work/listing.txt" "$discs" "$files"
    touch "$work/data-$discs-$files.done"
fi
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

search() { "$cli" --catalog "$catalog" find "$word" --what name >"$work/pane-find.out"; }
# The hit lines of the last search, without the prefix of eight spaces ("：" marks the lines
# that describe the search).
hit_lines() { grep -F "$word" "$work/pane-find.out" | grep -vF '：' | sed 's/^        //'; }

search
hit_lines >"$work/pane-lines.txt"
hits=$(wc -l <"$work/pane-lines.txt")
expect_at_least "hit lines of find $word" "$hits" 100000
t_find=$(best search)
expect "hit lines of find $word (last timed run)" "$(hit_lines | wc -l)" "$hits"

t_pane=""
stall=0
for _ in $(seq "$runs"); do
    out=$(QT_QPA_PLATFORM=offscreen "$pane_bench" "$work/pane-lines.txt" 2>"$work/pane-bench.err") ||
        fail "message-pane-bench failed: $(tail -n 5 "$work/pane-bench.err")"
    expect "lines posted by message-pane-bench" "$(echo "$out" | sed -n 's/^lines //p')" "$hits"
    took=$(echo "$out" | sed -n 's/^seconds //p')
    run_stall=$(echo "$out" | sed -n 's/^longest_stall_ms //p')
    [ -n "$took" ] && [ -n "$run_stall" ] || fail "message-pane-bench printed no figures: $out"
    if [ -z "$t_pane" ] || [ "$(echo "$took < $t_pane" | bc -l)" = 1 ]; then t_pane=$took; fi
    if [ "$(echo "$run_stall > $stall" | bc -l)" = 1 ]; then stall=$run_stall; fi
    pane_lines=$(echo "$out" | sed -n 's/^pane_lines //p')
done

printf 'hits: %s lines of find %s over %s scan objects x %s files; the pane then holds %s lines (limit warnings included)\n' \
    "$hits" "$word" "$discs" "$files" "$pane_lines"
ratio "message pane showing the hits" "$t_pane" "find writing them to a file" "$t_find" "goal <= 3.0"
printf 'longest stall of the pane'"'"'s event loop during the flood: %s ms (worst of %s runs; no goal)\n' "$stall" "$runs"
