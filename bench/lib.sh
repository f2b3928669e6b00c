# Shared by the benchmark scripts (sourced, not run).

# Best of $runs wall-clock seconds of a command, its output discarded. A script that defines
# before_each has it run, untimed, before every run.
best() {
    local best_time=""
    for _ in $(seq "$runs"); do
        if declare -F before_each >/dev/null; then before_each; fi
        local start end took
        start=$(date +%s.%N)
        "$@" >/dev/null 2>&1
        end=$(date +%s.%N)
        took=$(echo "$end - $start" | bc -l)
        if [ -z "$best_time" ] || [ "$(echo "$took < $best_time" | bc -l)" = 1 ]; then best_time=$took; fi
    done
    echo "$best_time"
}
