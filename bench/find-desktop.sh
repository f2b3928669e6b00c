#!/usr/bin/env bash
# Benchmarks a search made from the desktop program's find dialog against pelko-cli find writing
# the same hits to a file, in the same run on the same machine:
#   pelko: the find dialog (Ctrl+F) opened on the stored settings (file names, part match, the
#   text "20."), accepted with Return; timed inside the program from the dialog's OK until every
#   line of the search, the count line last, is in the message pane (PELKO_FIND_TIMING makes it
#   say so on stderr). The program's start-up and the dialog's opening are not in the figure.
#   pelko-cli --catalog CATALOG find "20." --what name >FILE, whole process.
# Data: bench/make-search-catalog's catalog of 100 scan objects x 10,000 files (1,000,000 files in
# ten categories, disc files zipped at rest); file number n is named WORD-n.EXT, so "20." is in
# the names of the 10,000 files whose number ends in 20 (20, 120, ... 999920). Goal <= 1.5.
# Every run must show every hit: the program's line count and pelko-cli's hit lines are both
# checked against 10,000 before anything is printed.
# The window answering input: in one more run, a search of 100,000 hits, the bench right-clicks the
# tree pane over and over while the program searches; each context menu must be on the screen
# within $answer_bound seconds of the click, and the slowest answer is printed.
#
# X server: $DISPLAY when set, otherwise a private Xvfb with openbox (see use_x_server in lib.sh).
# HOME and the XDG folders point into the bench folder. Usage: bench/find-desktop.sh BUILD_DIR;
# the data is kept in $PELKO_BENCH_DIR (default /tmp/pelko-bench-find-desktop) between runs.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
build=$(cd "$1" && pwd)
discs=100
files=10000
work=${PELKO_BENCH_DIR:-/tmp/pelko-bench-find-desktop}
catalog=$work/catalog
gui=$build/apps/pelko/pelko
cli=$build/apps/pelko-cli/pelko-cli
runs=3
text=20.
hits=$((discs * files / 100))
flood_text=0.
# 100,000 hits, and the pane's warning after each line beyond its 65,535th.
flood_lines=$((10 * hits + 6 + 10 * hits + 6 - 65535))
answer_bound=0.5
title="Pelko－光盘管理工具"
shown_line="pelko: find shown: "  # the program's line on stderr when a search's lines are all shown
need bc timeout xdotool grep
[ -x "$gui" ] || fail "$gui is not built"
[ -x "$build/bench/make-search-catalog" ] || fail "$build/bench/make-search-catalog is not built"

if [ ! -f "$work/data-$discs-$files.done" ]; then
    rm -rf "$work"
    mkdir -p "$work"
    echo "generating $discs scan objects of $files files in $catalog ..."
    "$build/bench/make-search-catalog" "$catalog" "$work/listing.txt" "$discs" "$files"
    touch "$work/data-$discs-$files.done"
fi

use_private_home "$work"
use_x_server "$work"

# The settings the find dialog opens on: the text, file names only, part match, all categories.
write_settings() {
    printf '[settings]\nFW_strFilter=%s\nFW_nFindWhat=1\nFW_bPartMatch=1\nFW_bCurCategory=0\nFW_bCase=0\nFW_bCheckReadMe=0\nClearBeforeInfo=1\nPopCloseDlg=0\n' \
        "$1" >"$PELKO_SETTINGS_FILE"
}
wait_for_window() {
    local id
    for _ in $(seq 1 1500); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.02
    done
    return 1
}
windows_of() { { xdotool search --onlyvisible --pid "$1" 2>/dev/null || true; } | wc -l; }
searched() { grep -q "^$shown_line" "$work/pelko.err"; }

# probe PID WINDOW BASE: a right click on an empty spot of the tree pane opens its context menu
# (a window of its own), Escape closes it; prints the seconds until the menu was on the screen,
# or nothing when the search ended first.
probe() {
    local pid=$1 window=$2 base=$3 start
    start=$(now)
    xdotool mousemove --window "$window" 60 600 click 3
    until [ "$(windows_of "$pid")" -gt "$base" ]; do
        searched && { xdotool key Escape; return 0; }
        [ "$(echo "$(now) - $start > 10" | bc -l)" = 1 ] && { echo 10; return 0; }
        sleep 0.01
    done
    echo "$(now) - $start" | bc -l
    xdotool key Escape
    for _ in $(seq 1 200); do [ "$(windows_of "$pid")" -le "$base" ] && break; sleep 0.01; done
}

# pelko_once TEXT LINES [probe]: one search through the program, which must show LINES lines;
# prints its seconds (the program's own figure). With "probe", the tree's context menu is opened
# and closed over and over while it searches, each answer's seconds going to $work/answers.
pelko_once() {
    local pid window base took
    write_settings "$1"
    : >"$work/pelko.err"
    PELKO_FIND_TIMING=1 "$gui" --catalog "$catalog" --no-splash >/dev/null 2>"$work/pelko.err" &
    pid=$!
    window=$(wait_for_window "^${title}\$") || fail "the main window did not show"
    sleep 1
    xdotool windowactivate --sync "$window" key ctrl+f
    wait_for_window "^查找\.\.\.\$" >/dev/null || fail "the find dialog did not show"
    sleep 0.5
    base=$(windows_of "$pid")
    xdotool key Return
    if [ "${3:-}" = probe ]; then
        # The find dialog goes, the wait dialog comes: as many windows as before.
        while ! searched; do
            took=$(probe "$pid" "$window" "$base")
            [ -z "$took" ] && break
            echo "$took" >>"$work/answers"
            sleep 0.05
        done
    fi
    for _ in $(seq 1 30000); do searched && break; sleep 0.02; done
    searched || fail "the program did not finish the search: $(tail -n 3 "$work/pelko.err")"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    expect "lines in the program's pane" "$(sed -n "s/^${shown_line}\([0-9]*\) lines .*/\1/p" "$work/pelko.err")" "$2"
    sed -n "s/^${shown_line}[0-9]* lines \([0-9.]*\) s$/\1/p" "$work/pelko.err"
}

cli_once() { "$cli" --catalog "$catalog" find "$text" --what name >"$work/find.out"; }

write_settings "$text"
cli_once
expect "hit lines of pelko-cli find" "$(grep -c '^ *Pelko\\' "$work/find.out")" "$hits"
t_cli=$(best cli_once)
# The pane: the opening line, four description lines, the hits and the count line.
t_gui=""
for _ in $(seq "$runs"); do
    took=$(pelko_once "$text" "$((hits + 6))")
    if [ -z "$t_gui" ] || [ "$(echo "$took < $t_gui" | bc -l)" = 1 ]; then t_gui=$took; fi
done
# The window answering input: a search of ten times the hits ("0." ends every tenth name), more
# than the pane's 65,535 lines, so that its limit warnings are written as well.
# It runs on a copy of the catalog whose search index cannot be used or written (a file stands
# in place of its folder), so that every disc file is read: from the index the search ends before
# the first click.
: >"$work/answers"
probe_catalog=$work/catalog-without-index
rm -rf "$probe_catalog"
cp -r "$catalog" "$probe_catalog"
rm -rf "$probe_catalog/Index"
touch "$probe_catalog/Index"
catalog=$probe_catalog pelko_once "$flood_text" "$flood_lines" probe >/dev/null
probes=$(wc -l <"$work/answers")
slowest=$(sort -g "$work/answers" | tail -n 1)
expect_at_least "context menus opened while the program searched" "$probes" 1
[ "$(echo "$slowest <= $answer_bound" | bc -l)" = 1 ] ||
    fail "the window took $slowest s to open a menu while searching (bound $answer_bound s)"

printf 'catalog: %s scan objects x %s files, %s hits; X server: %s; %s cores\n' "$discs" "$files" "$hits" \
    "$screen" "$(nproc)"
printf 'window answered %s right clicks while searching for %s hits, the slowest in %.3f s (bound %s s)\n' \
    "$probes" "$((hits * 10))" "$slowest" "$answer_bound"
ratio "pelko find, OK to last hit shown" "$t_gui" "pelko-cli find to a file" "$t_cli" "goal <= 1.5"
