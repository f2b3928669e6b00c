#!/usr/bin/env bash
# Benchmarks pelko-cli find against public tools on the same data, in the same run.
#
# Data: a generated catalog of DISCS scan objects x FILES files (default 100 x 10,000 =
# 1,000,000 files, names mixing ASCII and GB18030 two- and four-byte characters), disc files
# zipped at rest as the program keeps them, and a plain text listing of the same 1,000,000
# catalog paths in the same bytes. Every 1000th file name holds the searched word, so the
# search hits 0.1 % of the files.
#
# Printed, best of $runs wall-clock runs each:
#   1. whole-catalog file-name search / the inflate floor: unzip -p of every disc file, one after
#      another. The search has to inflate the same bytes and also parse and match them; it may use
#      every core for that, unzip uses one. Goal <= 1.0 on 2 cores.
#   2. the same search / grep -c of the word over the plain listing: the "locate" floor, what a
#      search costs when the names are already flat text in memory and nothing is inflated or
#      parsed. No goal; it shows what the compressed, structured store costs.
#   3. peak memory of the search over the memory of loading the largest scan object alone
#      (pelko-cli dump --summary of its ZIP), each less the resident size of a run that loads no
#      disc file. Goal <= 3.
# Usage: bench/search.sh BUILD_DIR [DISCS FILES]. The data is kept in $PELKO_BENCH_DIR
# (default /tmp/pelko-bench-search) between runs.
set -euo pipefail
build=$(cd "$1" && pwd)
discs=${2:-100}
files=${3:-10000}
work=${PELKO_BENCH_DIR:-/tmp/pelko-bench-search}
catalog=$work/catalog
listing=$work/listing.txt
cli=$build/apps/pelko-cli/pelko-cli
runs=3
export PELKO_SETTINGS_FILE=$work/Pelko.conf  # find keeps its keys; never in the user's file
word=珍藏
word_local=$(printf '%s' "$word" | iconv -f UTF-8 -t GB18030)

if [ ! -f "$work/data-$discs-$files.done" ]; then
    rm -rf "$work"
    mkdir -p "$work"
    echo "generating $discs scan objects of $files files in $catalog ..."
    "$build/bench/make-search-catalog" "$catalog" "$listing" "$discs" "$files"
    touch "$work/data-$discs-$files.done"
fi

source "$(dirname "$0")/lib.sh"

# Peak resident size of a command in KiB.
peak_kib() {
    /usr/bin/time -f '%M' -o "$work/time.out" "$@" >/dev/null 2>&1 || true
    tail -n 1 "$work/time.out"
}

inflate_all() {
    for z in "$catalog"/Disk/*.zip; do unzip -p "$z"; done
}
search() {
    "$cli" --catalog "$catalog" find "$word" --what name
}
# grep stops at the first match when its output is /dev/null, so the count goes to a file.
count_listing() {
    LC_ALL=C grep -c -F "$word_local" "$listing" >"$work/count.out" || true
    cat "$work/count.out"
}

hits=$(search | grep -c "$word" || true)
echo "hit lines: $((hits - 1)) (grep -c over the listing: $(count_listing))"
inflate_all >/dev/null  # warm the cache
t_inflate=$(best inflate_all)
t_search=$(best search)
t_grep=$(best count_listing)

largest=$(ls -S "$catalog"/Disk/*.zip | head -n 1)
m_search=$(peak_kib "$cli" --catalog "$catalog" find "$word" --what name)
m_base=$(peak_kib "$cli" --catalog "$catalog" tree)
m_one=$(peak_kib "$cli" dump --summary "$largest")
m_none=$(peak_kib "$cli" --help)

printf 'catalog: %s scan objects x %s files; disc ZIPs %s bytes; listing %s bytes; %s cores\n' "$discs" "$files" \
    "$(du -cb "$catalog"/Disk/*.zip | tail -n 1 | cut -f 1)" "$(stat -c %s "$listing")" "$(nproc)"
printf 'find %.3f s / unzip -p of every disc file %.3f s = %.2f (goal <= 1.0)\n' "$t_search" "$t_inflate" \
    "$(echo "$t_search / $t_inflate" | bc -l)"
printf 'find %.3f s / grep -c over the listing %.3f s = %.1f (no goal)\n' "$t_search" "$t_grep" \
    "$(echo "$t_search / $t_grep" | bc -l)"
printf 'peak memory: find %s KiB (catalog only %s KiB); one scan object loaded %s KiB (none %s KiB)\n' \
    "$m_search" "$m_base" "$m_one" "$m_none"
printf 'search memory / one loaded scan object = %.2f (goal <= 3)\n' \
    "$(echo "($m_search - $m_base) / ($m_one - $m_none)" | bc -l)"
