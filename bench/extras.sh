#!/usr/bin/env bash
# What the scan extras cost when there is nothing for them to do: pelko-cli scan-folder of a tree
# of 20,000 plain files (no archives, MP3s, programs or pictures) with every extra switched on
# (archive listings, MP3 tags, program icons, thumbnails), over the same scan with all of them
# off, in the same run. Goal: at most 1.05. Both scans are also set against find -printf over the
# same tree, so neither side of the goal's ratio is a figure on its own.
# Usage: bench/extras.sh BUILD_DIR [FILES FOLDERS]. The tree is kept in $PELKO_BENCH_DIR
# (default /tmp/pelko-bench) between runs.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
build=$(cd "$1" && pwd)
files=${2:-20000}
folders=${3:-2000}
work=${PELKO_BENCH_DIR:-/tmp/pelko-bench}
tree=$work/extras-tree-$files-$folders
cli=$build/apps/pelko-cli/pelko-cli
runs=7
need python3 find bc

if [ ! -f "$tree.done" ]; then
    rm -rf "$tree"
    echo "generating $files plain files in $folders folders under $tree ..."
    python3 - "$tree" "$files" "$folders" <<'PY'
import os, sys
root, files, folders = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
exts = [".txt", ".dat", ".doc", ".iso", ".log", ".cfg", ""]
dirs = [os.path.join(root, "d%03d" % (i % 100), "sub%04d" % i) for i in range(folders)]
for d in dirs:
    os.makedirs(d, exist_ok=True)
for f in range(files):
    with open(os.path.join(dirs[f % folders], "file-%06d%s" % (f, exts[f % len(exts)])), "wb") as out:
        out.write(b"x" * (f % 64))
PY
    touch "$tree.done"
fi

scan() {
    local switch=$1
    rm -rf "$work/extras-catalog"
    "$cli" --catalog "$work/extras-catalog" --set ExtractZip="$switch" --set ExtractMp3="$switch" \
        --set ExtractExeIcon="$switch" --set g_bPicScan="$switch" scan-folder "$tree"
}

expect "files found by find" "$(find "$tree" -type f | wc -l)" "$files"  # and the cache is warm
t_find=$(best find "$tree" -printf '%s %T@ %p\n')
t_off=$(best scan 0)
expect_scanned "the scan with extras off" "$work/extras-catalog" "$files"
t_on=$(best scan 1)
expect_scanned "the scan with extras on" "$work/extras-catalog" "$files"
ratio "scan of $files plain files: extras on" "$t_on" "extras off" "$t_off" "goal <= 1.05"
ratio "scan-folder, extras off" "$t_off" "find -printf" "$t_find"
ratio "scan-folder, extras on" "$t_on" "find -printf" "$t_find"
