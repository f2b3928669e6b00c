#!/usr/bin/env bash
# Benchmarks a folder scan made through the desktop program against pelko-cli scanning the same
# folder, in the same run on the same machine (process vs process, every scan extra on in both):
#   pelko: "扫描指定目录" (Ctrl+R), the folder typed into the folder picker; timed from the Return
#   that accepts it until the new scan object's disc file is in the catalog's Disk folder. The
#   new-object dialog that comes when the walk ends is answered with Return as soon as it shows,
#   so the figure holds the walk, the scanning window, the dialog and the writing of the disc
#   file; the program's start-up is not in it.
#   pelko-cli --catalog CATALOG scan-folder TREE, whole process, into a fresh catalog.
# Goal <= 1.1. Each run checks the disc file holds every file of the tree.
#
# X server: $DISPLAY when set, otherwise a private Xvfb with openbox (see use_x_server in lib.sh).
# HOME and the XDG folders point into the bench folder. Usage: bench/scan-desktop.sh BUILD_DIR
# [FILES] [FOLDERS]; the tree is kept in $PELKO_BENCH_DIR (default /tmp/pelko-bench-scan-desktop).
set -euo pipefail
source "$(dirname "$0")/lib.sh"
build=$(cd "$1" && pwd)
files=${2:-200000}
folders=${3:-2000}
work=${PELKO_BENCH_DIR:-/tmp/pelko-bench-scan-desktop}
tree=$work/tree
gui=$build/apps/pelko/pelko
cli=$build/apps/pelko-cli/pelko-cli
runs=5
title="Pelko－光盘管理工具"
need bc timeout xdotool
[ -x "$gui" ] || fail "$gui is not built"

if [ ! -f "$work/tree-$files-$folders.done" ]; then
    rm -rf "$work"
    mkdir -p "$work"
    echo "generating $files files in $folders folders in $tree ..."
    "$build/bench/make-tree" "$tree" "$files" "$folders"
    touch "$work/tree-$files-$folders.done"
fi

use_private_home "$work"
use_x_server "$work"

# wait_for_window TITLE: the X id of a shown window titled TITLE, asked for every 20 ms (a tighter
# loop would take a core from the scan it waits for) for up to about ten minutes.
wait_for_window() {
    local id
    for _ in $(seq 1 30000); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.02
    done
    return 1
}
wait_for_disc_file() {
    local found
    for _ in $(seq 1 60000); do
        found=("$1"/Disk/*.pkb.zip)
        [ -f "${found[0]}" ] && return 0
        sleep 0.002
    done
    return 1
}

# One scan through the program; prints its seconds.
pelko_once() {
    local catalog=$work/gui-catalog pid window start end
    rm -rf "$catalog"
    timeout 900 "$gui" --catalog "$catalog" --no-splash >"$work/pelko.log" 2>&1 &
    pid=$!
    window=$(wait_for_window "^${title}\$") || fail "the main window did not show"
    sleep 1
    xdotool windowactivate --sync "$window" key ctrl+r
    wait_for_window "请选择需要扫描的目录" >/dev/null || fail "the folder picker did not show"
    sleep 0.5
    xdotool type --delay 5 "$tree"
    sleep 0.3
    start=$(now)
    xdotool key Return
    wait_for_window "设置新光盘的相关信息" >/dev/null || fail "the new-object dialog did not show"
    xdotool key Return
    wait_for_disc_file "$catalog" || fail "no disc file was written"
    end=$(now)
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    expect_scanned "the program's scan" "$catalog" "$files"
    echo "$end - $start" | bc -l
}

cli_once() {
    rm -rf "$work/cli-catalog"
    "$cli" --catalog "$work/cli-catalog" scan-folder "$tree"
}

cli_once >/dev/null 2>&1 || fail "pelko-cli scan-folder failed"
expect_scanned "pelko-cli's scan" "$work/cli-catalog" "$files"
t_cli=$(best cli_once)
t_gui=""
for _ in $(seq "$runs"); do
    took=$(pelko_once)
    if [ -z "$t_gui" ] || [ "$(echo "$took < $t_gui" | bc -l)" = 1 ]; then t_gui=$took; fi
done

printf 'tree: %s files in %s folders; X server: %s\n' "$files" "$folders" "$screen"
ratio "pelko scan of a folder, command to filed" "$t_gui" "pelko-cli scan-folder" "$t_cli" "goal <= 1.1"
