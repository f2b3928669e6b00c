#!/usr/bin/env bash
# Benchmarks scan-disc of an ISO image (read without mounting) against isoinfo listing the same
# image, in the same run:  scan-disc IMAGE  vs  isoinfo -l -R -i IMAGE.
# Usage: bench/disc.sh BUILD_DIR [FILES FOLDERS]. The image is kept in $PELKO_BENCH_DIR
# (default /tmp/pelko-bench-disc) between runs.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
build=$(cd "$1" && pwd)
files=${2:-50000}
folders=${3:-5000}
work=${PELKO_BENCH_DIR:-/tmp/pelko-bench-disc}
image=$work/disc.iso
cli=$build/apps/pelko-cli/pelko-cli
runs=5

need genisoimage isoinfo bc

if [ ! -f "$work/image-$files-$folders.done" ]; then
    rm -rf "$work"
    mkdir -p "$work"
    echo "generating $files files in $folders folders and their image ..."
    "$build/bench/make-tree" "$work/tree" "$files" "$folders"
    find "$work/tree" -type f -size +1M -delete  # the sparse giants would fill the image
    # (Rock Ridge only: Joliet cannot hold the four-byte GB18030 names of the tree)
    genisoimage -quiet -input-charset utf-8 -R -V BENCH -o "$image" "$work/tree" 2>/dev/null
    rm -rf "$work/tree"
    touch "$work/image-$files-$folders.done"
fi

# Extras on (the default) or off: isoinfo only lists, which is what the scan does with them off.
scan_once() {
    rm -rf "$work/catalog"
    PELKO_SETTINGS_FILE=/dev/null "$cli" --catalog "$work/catalog" --set ExtractZip="$1" --set ExtractMp3="$1" \
        --set ExtractExeIcon="$1" --set g_bPicScan="$1" scan-disc "$image"
}
# The files of the image (Rock Ridge shows them as "-rw-..."), counted by isoinfo.
image_files=$(isoinfo -l -R -i "$image" | grep -c '^-')  # and the cache is warm
expect_at_least "files in the image" "$image_files" 1

t_isoinfo=$(best isoinfo -l -R -i "$image")
t_list=$(best scan_once 0)
expect_scanned "scan-disc, extras off" "$work/catalog" "$image_files"
t_scan=$(best scan_once 1)
expect_scanned "scan-disc, every extra on" "$work/catalog" "$image_files"
printf 'image: %s files, %s bytes\n' "$image_files" "$(stat -c %s "$image")"
ratio "scan-disc, extras off" "$t_list" "isoinfo -l -R" "$t_isoinfo" "goal <= 1.5"
ratio "scan-disc, every extra on" "$t_scan" "isoinfo -l -R" "$t_isoinfo"
