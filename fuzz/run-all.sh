#!/usr/bin/env bash
# Runs every fuzz target in a build folder for a number of seconds, starting from its seed
# corpus in fuzz/corpus/<target>. New inputs go to a scratch folder, not into the repository.
set -euo pipefail
bin_dir=$(cd "$1" && pwd)
seconds=${2:-30}
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

status=0
for target in "$bin_dir"/*Fuzz; do
    name=$(basename "$target")
    seeds="$here/corpus/$name"
    mkdir -p "$scratch/$name"
    echo "== $name ($seconds s)"
    if ! (cd "$scratch" && "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
            -print_final_stats=1 "$scratch/$name" "$seeds" 2>"$scratch/$name.log"); then
        tail -n 60 "$scratch/$name.log"
        status=1
    else
        grep -E "^(stat::number_of_executed_units|Done)" "$scratch/$name.log" || true
    fi
done
exit $status
