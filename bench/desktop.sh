#!/usr/bin/env bash
# Benchmarks the desktop program's start-up against a bare Qt Widgets program, on the same X
# server in the same run (process vs process):
#   pelko --catalog CATALOG --no-splash, with PELKO_QUIT_AFTER_FIRST_PAINT=1, on a catalog of
#   2,000 scan objects in 200 categories  /  bench/bare-window, an empty QMainWindow shown
#   maximised. Both end through the same hook (apps/pelko/QuitAfterFirstPaint.h) once their main
#   window has been painted, so each figure is the time from the process start until the first
#   frame of its window is on the screen and the process has ended. Goal <= 2.0.
# A run counts only when the program exits 0 and says its window was painted.
#
# X server: $DISPLAY when set; otherwise a private Xvfb (1600x1000x24), with a session bus and,
# when installed, openbox as window manager so that "maximised" fills the screen, all started
# and stopped here. HOME, XDG_CONFIG_HOME, XDG_CACHE_HOME and XDG_RUNTIME_DIR point into the
# bench folder: the user's settings and a running copy of pelko are never touched.
# Usage: bench/desktop.sh BUILD_DIR. The catalog is kept in $PELKO_BENCH_DIR (default
# /tmp/pelko-bench-desktop) between runs.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
build=$(cd "$1" && pwd)
work=${PELKO_BENCH_DIR:-/tmp/pelko-bench-desktop}
catalog=$work/catalog
gui=$build/apps/pelko/pelko
bare=$build/bench/bare-window
cli=$build/apps/pelko-cli/pelko-cli
discs=2000
categories=200
runs=7
painted="main window painted; quitting"  # the hook's line on stderr
need bc timeout grep
[ -x "$gui" ] || fail "$gui is not built"
[ -x "$bare" ] || fail "$bare is not built"

if [ ! -f "$work/catalog-$discs-$categories.done" ]; then
    rm -rf "$work"
    mkdir -p "$work"
    echo "generating $discs scan objects in $categories categories in $catalog ..."
    "$build/bench/make-search-catalog" "$catalog" "$work/listing.txt" "$discs" 100 "$categories"
    touch "$work/catalog-$discs-$categories.done"
fi

use_private_home "$work"

use_x_server "$work"

# The catalog holds every scan object: one line per scan object in pelko-cli's tree.
expect "scan objects in the catalog" \
    "$("$cli" --catalog "$catalog" tree | grep -c '光盘[0-9]')" "$discs"

# Each run: the program exits 0 and said its window was painted.
pelko_once() {
    PELKO_QUIT_AFTER_FIRST_PAINT=1 timeout 60 "$gui" --catalog "$catalog" --no-splash 2>"$work/pelko.err" &&
        grep -qxF "$painted" "$work/pelko.err" || { cat "$work/pelko.err" >&2; return 1; }
}
bare_once() {
    timeout 60 "$bare" 2>"$work/bare.err" && grep -qxF "$painted" "$work/bare.err" ||
        { cat "$work/bare.err" >&2; return 1; }
}

pelko_once || fail "pelko did not start, paint its window and end (untimed run)"
bare_once || fail "bare-window did not start, paint its window and end (untimed run)"
t_pelko=$(best pelko_once)
t_bare=$(best bare_once)

printf 'catalog: %s scan objects in %s categories; X server: %s\n' "$discs" "$categories" "$screen"
ratio "pelko start-up to first paint" "$t_pelko" "bare QMainWindow" "$t_bare" "goal <= 2.0"
