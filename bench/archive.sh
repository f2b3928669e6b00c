#!/usr/bin/env bash
# Listing a ZIP archive of 50,000 entries as a scan does, next to `zipinfo -1` listing the same
# archive, in the same run. The archive is written by Python's zipfile with entries in a mixed
# (not name-sorted) order, as archivers that add files in directory order produce.
# Usage: bench/archive.sh BUILD_DIR [ENTRIES]. Work files go to $PELKO_BENCH_DIR
# (default /tmp/pelko-bench).
set -euo pipefail
source "$(dirname "$0")/lib.sh"
build=$(cd "$1" && pwd)
entries=${2:-50000}
work=${PELKO_BENCH_DIR:-/tmp/pelko-bench}
zip=$work/archive-$entries.zip
runs=7
need python3 zipinfo bc

mkdir -p "$work"
if [ ! -f "$zip" ]; then
    python3 - "$zip" "$entries" <<'PY'
import sys, zipfile
path, count = sys.argv[1], int(sys.argv[2])
order = sorted(range(count), key=lambda i: (i * 2654435761) % 4294967296)
with zipfile.ZipFile(path + ".tmp", "w", zipfile.ZIP_DEFLATED) as z:
    for i in order:
        name = "project/module%03d/src/file_%06d.txt" % (i % 500, i)
        z.writestr(zipfile.ZipInfo(name, date_time=(2020, 1, 2, 3, 4, 6)), "entry %d\n" % i)
import os
os.replace(path + ".tmp", path)
PY
fi

expect "entries listed by zipinfo -1" "$(zipinfo -1 "$zip" | wc -l)" "$entries"  # and the cache is warm
expect "records made by archive-list" "$("$build/bench/archive-list" "$zip")" "$entries records"
t_zipinfo=$(best zipinfo -1 "$zip")
t_list=$(best "$build/bench/archive-list" "$zip")

printf 'ZIP of %s entries, %s bytes\n' "$entries" "$(stat -c %s "$zip")"
ratio "archive listing" "$t_list" "zipinfo -1" "$t_zipinfo" "goal <= 1.0"
