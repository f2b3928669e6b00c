#!/usr/bin/env bash
# Benchmarks making thumbnails against public tools on the same machine, in the same run:
#   the scan's folder thumbnailer (bench/thumbnail-bench)  vs  vipsthumbnail  vs  ImageMagick
#   convert -thumbnail (one process per photo, as many at once as there are cores)
# over 100 generated JPEG photos of 12 megapixels, thumbnails of 320 x 240. Each tool must have
# written a thumbnail for every photo in its last timed run.
# Usage: bench/thumbnails.sh BUILD_DIR [PHOTOS]. The photos are kept in $PELKO_BENCH_PHOTOS
# (default /tmp/pelko-bench-photos) between runs, since making them takes a few minutes.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
build=$(cd "$1" && pwd)
count=${2:-100}
photos=${PELKO_BENCH_PHOTOS:-/tmp/pelko-bench-photos}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
runs=3
threads=$(nproc)
need convert identify vipsthumbnail xargs bc

# One photo: smooth noise at full size under a colour gradient, plus fine grain, so that the
# file has the detail (and the size) of a real photo rather than of a flat picture.
make_photo() {
    local i=$1 colours=("#f0a040-#2050a0" "#30c070-#802010" "#e0e0f0-#404030" "#9050c0-#f0f060")
    convert -size 400x300 xc: -seed "$i" +noise Random -blur 0x1 -resize '4000x3000!' \
        \( -size 4000x3000 gradient:"${colours[$((i % 4))]}" \) -compose overlay -composite \
        -attenuate 0.25 +noise Gaussian -quality 90 "$photos/photo$(printf %03d "$i").jpg"
}
export -f make_photo
export photos

if [ ! -f "$photos/done-$count" ]; then
    rm -rf "$photos"
    mkdir -p "$photos"
    echo "generating $count photos of 4000 x 3000 under $photos ..."
    seq "$count" | xargs -P "$threads" -I{} bash -c 'make_photo {}'
    touch "$photos/done-$count"
fi
files=("$photos"/photo*.jpg)
if ls "$photos" | grep -qv -e '^photo[0-9]*\.jpg$' -e '^done-'; then fail "$photos holds other files"; fi
expect "photos in $photos" "${#files[@]}" "$count"

before_each() { rm -rf "${out:?}"/*; }

ours() { "$build/bench/thumbnail-bench" "$photos" "$out/ours" 320 240; }
vips() { mkdir -p "$out/vips" && vipsthumbnail --size 320x240 -o "$out/vips/%s.jpg[Q=80]" "${files[@]}"; }
magick() {
    mkdir -p "$out/magick"
    printf '%s\n' "${files[@]}" | xargs -P "$threads" -I{} sh -c 'convert "$1" -thumbnail 320x240 "$2/$(basename "$1")"' _ {} "$out/magick"
}
# check_thumbnails TOOL: the JPEG files the last run of TOOL wrote, each checked by ImageMagick to
# be a picture of at most 320 x 240.
check_thumbnails() {
    local made
    made=$({ identify -format '%w %h\n' "$out/$1"/*.jpg 2>/dev/null || true; } | awk '$1 <= 320 && $2 <= 240 && $1 > 0' | wc -l)
    expect "thumbnails of at most 320 x 240 written by $1" "$made" "$count"
}

cat "${files[@]}" >/dev/null  # warm the cache
t_ours=$(best ours)
check_thumbnails ours
t_vips=$(best vips)
check_thumbnails vips
t_magick=$(best magick)
check_thumbnails magick

printf '%s photos of 4000 x 3000, %s MB in all; %s threads\n' "${#files[@]}" \
    "$(du -cm "${files[@]}" | tail -1 | cut -f1)" "$threads"
ratio thumbnails "$t_ours" vipsthumbnail "$t_vips" "goal <= 1.5"
ratio thumbnails "$t_ours" "convert -thumbnail" "$t_magick"
