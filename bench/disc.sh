#!/usr/bin/env bash
# Benchmarks scan-disc of an ISO image (read without mounting) against isoinfo listing the same
# image, in the same run:  scan-disc IMAGE  vs  isoinfo -l -R -i IMAGE.
# Usage: bench/disc.sh BUILD_DIR [FILES FOLDERS]. The image is kept in $PELKO_BENCH_DIR
# (default /tmp/pelko-bench-disc) between runs.
set -euo pipefail
build=$(cd "$1" && pwd)
files=${2:-50000}
folders=${3:-5000}
work=${PELKO_BENCH_DIR:-/tmp/pelko-bench-disc}
image=$work/disc.iso
cli=$build/apps/pelko-cli/pelko-cli
runs=5

for tool in genisoimage isoinfo bc; do
    command -v "$tool" >/dev/null || { echo "bench/disc.sh: $tool is not installed" >&2; exit 1; }
done

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

source "$(dirname "$0")/lib.sh"

# Extras on (the default) or off: isoinfo only lists, which is what the scan does with them off.
scan_once() {
    rm -rf "$work/catalog"
    PELKO_SETTINGS_FILE=/dev/null "$cli" --catalog "$work/catalog" --set ExtractZip="$1" --set ExtractMp3="$1" \
        --set ExtractExeIcon="$1" --set g_bPicScan="$1" scan-disc "$image" 2>/dev/null
}

isoinfo -l -R -i "$image" >/dev/null  # warm the cache
t_isoinfo=$(best isoinfo -l -R -i "$image")
t_list=$(best scan_once 0)
t_scan=$(best scan_once 1)
printf 'image: %s files, %s bytes\n' "$files" "$(stat -c %s "$image")"
printf 'scan-disc, extras off %.3f s / isoinfo -l -R %.3f s = %.2f (goal <= 1.5)\n' "$t_list" "$t_isoinfo" \
    "$(echo "$t_list / $t_isoinfo" | bc -l)"
printf 'scan-disc, every extra on %.3f s / isoinfo -l -R %.3f s = %.2f\n' "$t_scan" "$t_isoinfo" \
    "$(echo "$t_scan / $t_isoinfo" | bc -l)"
