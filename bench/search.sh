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
#   1. whole-catalog file-name search through the search index / grep -c of the word over the
#      plain listing: the "locate" floor, what a search costs when the names are already flat
#      text. Goal <= 1.0, moonshot <= 0.3.
#   2. the same search reading every disc file in full (find --full) / the inflate floor: unzip -p
#      of every disc file, one after another. The search has to inflate the same bytes and also
#      parse and match them; it may use every core for that, unzip uses one. Goal <= 1.0.
#   3. the size of the index files / the size of the disc ZIPs. Goal <= 0.5.
#   4. peak memory of the search over the memory of loading the largest scan object alone
#      (pelko-cli dump --summary of its ZIP), each less the resident size of a run that loads no
#      disc file: peak resident sizes measured by GNU time. Goal <= 3.
# Every run must find every hit: the search's hit lines and grep's count are both checked
# against the number of names that hold the word before anything is printed.
# Usage: bench/search.sh BUILD_DIR [DISCS FILES]. The data is kept in $PELKO_BENCH_DIR
# (default /tmp/pelko-bench-search) between runs.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
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
need unzip grep iconv bc /usr/bin/time
word_local=$(printf '%s' "$word" | iconv -f UTF-8 -t GB18030)
# bench/make-search-catalog puts the word in the names of files number 7, 1007, 2007, ...
expected_hits=$(((discs * files + 992) / 1000))

if [ ! -f "$work/data-$discs-$files.done" ]; then
    rm -rf "$work"
    mkdir -p "$work"
    echo "generating $discs scan objects of $files files in $catalog ..."
    "$build/bench/make-search-catalog" "$catalog" "$listing" "$discs" "$files"
    touch "$work/data-$discs-$files.done"
fi

# Peak resident size of a command in KiB, measured by GNU time.
peak_kib() {
    /usr/bin/time -f '%M' -o "$work/time.out" "$@" >/dev/null 2>&1 || fail "\`$*\` failed"
    tail -n 1 "$work/time.out"
}

inflate_all() {
    local z
    for z in "$catalog"/Disk/*.zip; do unzip -p "$z" || return; done
}
# Both keep their output in a file, checked after the timed runs: the search its lines, grep its
# count (grep stops at the first match when its output is /dev/null).
search() { "$cli" --catalog "$catalog" find "$word" --what name >"$work/find.out"; }
search_full() { "$cli" --catalog "$catalog" find "$word" --what name --full >"$work/find.out"; }
count_listing() { LC_ALL=C grep -c -F "$word_local" "$listing" >"$work/count.out" || [ $? = 1 ]; }
# The hit lines of the last search ("：" marks the lines that describe the search).
check_counts() {
    expect "hit lines of find $1" "$(grep "$word" "$work/find.out" | grep -vc '：' || true)" "$expected_hits"
    expect "grep -c over the listing $1" "$(cat "$work/count.out")" "$expected_hits"
}

"$cli" --catalog "$catalog" index --rebuild >/dev/null
search_full || true
count_listing
check_counts "(untimed, full)"
search || true
check_counts "(untimed, index)"
expect_at_least "bytes unzip -p inflates" "$(inflate_all | wc -c)" 1  # and the cache is warm
t_inflate=$(best inflate_all)
t_full=$(best search_full)
check_counts "(last timed run, full)"
t_search=$(best search)
t_grep=$(best count_listing)
check_counts "(last timed run, index)"
zip_bytes=$(du -cb "$catalog"/Disk/*.zip | tail -n 1 | cut -f 1)
index_bytes=$(du -cb "$catalog"/Index/*.idx | tail -n 1 | cut -f 1)

largest=$(ls -S "$catalog"/Disk/*.zip | head -n 1)
m_search=$(peak_kib "$cli" --catalog "$catalog" find "$word" --what name)
m_base=$(peak_kib "$cli" --catalog "$catalog" tree)
m_one=$(peak_kib "$cli" dump --summary "$largest")
m_none=$(peak_kib "$cli" --help)

printf 'catalog: %s scan objects x %s files; disc ZIPs %s bytes; index files %s bytes; listing %s bytes; %s cores\n' \
    "$discs" "$files" "$zip_bytes" "$index_bytes" "$(stat -c %s "$listing")" "$(nproc)"
ratio "find (index)" "$t_search" "grep -c -F over the listing" "$t_grep" "goal <= 1.0, moonshot <= 0.3"
ratio "find --full" "$t_full" "unzip -p of every disc file" "$t_inflate" "goal <= 1.0"
printf 'index size / disc ZIPs = %.3f (goal <= 0.5)\n' "$(echo "$index_bytes / $zip_bytes" | bc -l)"
printf 'peak memory (measured): find %s KiB (catalog only %s KiB); one scan object loaded %s KiB (none %s KiB)\n' \
    "$m_search" "$m_base" "$m_one" "$m_none"
printf 'search memory / one loaded scan object = %.2f (goal <= 3; peak resident sizes, no public partner)\n' \
    "$(echo "($m_search - $m_base) / ($m_one - $m_none)" | bc -l)"
