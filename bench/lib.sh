# Shared by the benchmark scripts (sourced right after `set -euo pipefail`, not run).
#
# A benchmark prints a ratio only over work that was really done: any command that fails stops
# it with a message naming the command, and each script checks the work (files written, hits
# counted, entries listed) with `expect` before it prints.

bench_name=bench/$(basename "$0")

# Stops the benchmark: MESSAGE to stderr, exit status 1.
fail() {
    echo "$bench_name: $*" >&2
    exit 1
}
# Any command of the script (or of its functions and command substitutions) that fails.
set -E
trap 'fail "${BASH_SOURCE[0]##*/} line $LINENO: \`$BASH_COMMAND\` failed (exit $?)"' ERR

# need TOOL...: stops unless each tool is installed.
need() {
    local tool
    for tool; do command -v "$tool" >/dev/null || fail "$tool is not installed"; done
}

# expect WHAT GOT WANTED: stops unless a count of the work done is the one wanted.
expect() {
    [ "$2" = "$3" ] || fail "$1: got '$2', expected '$3'"
}
# expect_at_least WHAT GOT LEAST
expect_at_least() {
    [ "$2" -ge "$3" ] 2>/dev/null || fail "$1: got '$2', expected at least $3"
}

# Best of $runs wall-clock seconds of a command, its output discarded. A command that exits
# non-zero stops the benchmark, with the end of what it wrote to stderr. The command runs where
# `set -e` does not reach, so a function timed here returns its own failures (`|| return`).
# A script that defines before_each has it run, untimed, before every run.
best() {
    local best_time="" err start end took status
    err=$(mktemp)
    for _ in $(seq "$runs"); do
        if declare -F before_each >/dev/null; then before_each; fi
        status=0
        start=$(date +%s.%N)
        "$@" >/dev/null 2>"$err" || status=$?
        end=$(date +%s.%N)
        if [ "$status" != 0 ]; then
            tail -n 5 "$err" >&2
            rm -f "$err"
            fail "\`$*\` failed (exit $status); no figure printed"
        fi
        took=$(echo "$end - $start" | bc -l)
        if [ -z "$best_time" ] || [ "$(echo "$took < $best_time" | bc -l)" = 1 ]; then best_time=$took; fi
    done
    rm -f "$err"
    echo "$best_time"
}

# ratio WHAT SECONDS PARTNER SECONDS [NOTE]: prints "WHAT 1.234 s / PARTNER 0.617 s = 2.000 (NOTE)".
ratio() {
    printf '%s %.3f s / %s %.3f s = %.3f%s\n' "$1" "$2" "$3" "$4" "$(echo "$2 / $4" | bc -l)" "${5:+ ($5)}"
}

# disc_file CATALOG: the one disc file a scan wrote into CATALOG/Disk.
disc_file() {
    local found=("$1"/Disk/*.pkb.zip)
    if [ ${#found[@]} != 1 ] || [ ! -f "${found[0]}" ]; then fail "no single disc file in $1/Disk: ${found[*]}"; fi
    echo "${found[0]}"
}
# expect_scanned WHAT CATALOG FILES: stops unless the disc file of the last scan into CATALOG
# holds FILES files (counted by `pelko-cli dump --summary`, with $cli).
expect_scanned() {
    local zip
    zip=$(disc_file "$2")
    expect "files in the disc file of $1" "$("$cli" dump --summary "$zip" | sed -n 's/^files: //p')" "$3"
}

# Processes a benchmark started and stops when it ends (use_x_server fills it).
started=()
stop_started() {
    local pid
    for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${started[@]}"; do wait "$pid" 2>/dev/null || true; done
}

# use_private_home WORK: a home of the bench's own under WORK (kept between runs, so that the font
# caches in it stay warm), its XDG folders, pelko-cli's settings file inside it, and no catalog
# folder from the environment.
use_private_home() {
    export HOME=$1/home
    export XDG_CONFIG_HOME=$HOME/.config XDG_CACHE_HOME=$HOME/.cache XDG_DATA_HOME=$HOME/.local/share
    export XDG_RUNTIME_DIR=$1/run
    export PELKO_SETTINGS_FILE=$XDG_CONFIG_HOME/Tinkmoss/Pelko.conf
    mkdir -p "$HOME" "$XDG_CONFIG_HOME/Tinkmoss"
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
    unset PELKO_CATALOG
}

# now: the time in seconds, with nanoseconds.
now() { date +%s.%N; }

# use_x_server WORK: the X server a desktop benchmark draws on: $DISPLAY when set; otherwise a
# private Xvfb (1600x1000x24) with a session bus and, when installed, openbox as window manager
# (so that "maximised" fills the screen), all stopped when the script ends. Logs go into WORK;
# $screen says which server it is.
use_x_server() {
    local work=$1 display display_fd
    screen="${DISPLAY:-} (given)"
    trap stop_started EXIT
    if [ -z "${DISPLAY:-}" ]; then
        need Xvfb dbus-daemon
        # Xvfb picks a free display itself and tells us which through -displayfd.
        exec {display_fd}<> <(:)
        Xvfb -displayfd "$display_fd" -screen 0 1600x1000x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
        started+=($!)
        display=""
        for _ in $(seq 1 100); do
            read -r -t 0.1 -u "$display_fd" display || true
            [ -n "$display" ] && break
        done
        [ -n "$display" ] || fail "Xvfb did not start: $(tail -n 3 "$work/xvfb.log")"
        export DISPLAY=":$display"
        screen="private Xvfb"
        dbus-daemon --session --fork --print-address=1 --print-pid=1 --nopidfile >"$work/dbus" 2>&1 ||
            fail "dbus-daemon did not start"
        DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p "$work/dbus")
        export DBUS_SESSION_BUS_ADDRESS
        started+=("$(sed -n 2p "$work/dbus")")
        if command -v openbox >/dev/null; then
            openbox --sm-disable >"$work/wm.log" 2>&1 &
            started+=($!)
            screen+=" with openbox"
            sleep 0.5
        fi
    fi
    export QT_QPA_PLATFORM=xcb
}
