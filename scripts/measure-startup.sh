#!/bin/bash
# Start-up times of the real program under a virtual X server:
#   splash - from starting the process to the splash screen being mapped;
#   main   - from pressing Enter on the splash screen ("Начать работу") to
#            the main window being mapped (this includes loading the data
#            module, that is opening BAZA.mdb and its five tables).
# Window mapping is timed by an X event listener on the root window, so the
# figures do not depend on how often this script looks.
#
# Usage: measure-startup.sh KULTBUH KULTBUH_DB [LARGE.mdb] [RUNS]
#   KULTBUH_DB makes the demo database; LARGE.mdb (for example the bench's
#   10,000-employee file) is copied and measured too. RUNS defaults to 5.
# Prints one line per database: the median and the range of each figure.
set -euo pipefail

program=${1:?usage: measure-startup.sh KULTBUH KULTBUH_DB [LARGE.mdb] [RUNS]}
dbtool=${2:?usage: measure-startup.sh KULTBUH KULTBUH_DB [LARGE.mdb] [RUNS]}
large=${3:-}
runs=${4:-5}
# shellcheck source=lib/xvfb.sh
. "$(dirname "$0")/lib/xvfb.sh"
if tool=$(missing_tool Xvfb xdotool xdpyinfo xev stdbuf timeout); then
    echo "$tool is not installed (scripts/install-deps.sh)" >&2
    exit 2
fi

begin_session
listener_pid=
trap 'stop_process "$listener_pid"; end_session' EXIT

start_xvfb "$work" || { echo "$xvfb_error" >&2; exit 1; }
# The splash screen is centred: the pointer waits there, so Enter reaches it.
xdotool mousemove 640 400

# Root-window events, each line stamped with the time it arrived.
start_listener() {
    : >"$work/events"
    # $! is xev itself: when it ends, the stamping loop sees the end of input.
    stdbuf -oL xev -root -event substructure 2>/dev/null \
        > >(while IFS= read -r line; do printf '%s %s\n' "$EPOCHREALTIME" "$line"; done >"$work/events") &
    listener_pid=$!
    # xev reports nothing until something happens: make an event and wait for it.
    timeout 5 bash -c "until grep -q 'CreateNotify' '$work/events'; do xdotool mousemove 640 400 >/dev/null; \
        xdpyinfo >/dev/null; sleep 0.05; done" 2>/dev/null || true
}

stop_listener() {
    stop_process "$listener_pid"
    listener_pid=
}

# The time a window created with the size $1 x $2 was mapped; empty until then.
map_time() {
    awk -v w="$1" -v h="$2" '
        / CreateNotify event/ { creating = 1; next }
        creating && /window 0x/ {
            creating = 0
            if ($0 ~ ("width " w ", height " h "$")) {
                match($0, /window 0x[0-9a-f]+,/); id = substr($0, RSTART + 7, RLENGTH - 8); wanted[id] = 1
            }
            next
        }
        / MapNotify event/ { mapping = $1; next }
        mapping != "" && /window 0x/ {
            match($0, /window 0x[0-9a-f]+,/); id = substr($0, RSTART + 7, RLENGTH - 8)
            if (id in wanted) { print mapping; exit }
            mapping = ""
        }' "$work/events"
}

wait_for_map() {
    local t=
    for _ in $(seq 1 1000); do
        t=$(map_time "$1" "$2")
        [ -n "$t" ] && { echo "$t"; return 0; }
        sleep 0.01
    done
    return 1
}

millis() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.0f", (b - a) * 1000 }'; }

# One start of the program in folder $1: prints "splash main" in milliseconds.
measure_once() {
    start_listener
    local t0 t1 splash main
    t0=$EPOCHREALTIME
    (cd "$1" && exec ./kultbuh) 2>>"$1/stderr" &
    app_pid=$!
    splash=$(wait_for_map 295 478) || { echo "no splash screen" >&2; return 1; }
    t1=$EPOCHREALTIME
    xdotool key Return
    main=$(wait_for_map 794 '[0-9]+') || { echo "no main window" >&2; return 1; }
    stop_process "$app_pid"
    app_pid=
    stop_listener
    echo "$(millis "$t0" "$splash") $(millis "$t1" "$main")"
}

summary() { sort -n | awk '{ v[NR] = $1 } END { printf "median %4d ms (%d to %d)", v[int((NR + 1) / 2)], v[1], v[NR] }'; }

measure() {
    local name=$1 folder=$2
    cp "$program" "$folder/kultbuh"
    : >"$work/results"
    for _ in $(seq 1 "$runs"); do
        measure_once "$folder" >>"$work/results"
    done
    printf '%-28s start -> splash: %s   Enter -> main window: %s\n' "$name" \
        "$(cut -d' ' -f1 "$work/results" | summary)" "$(cut -d' ' -f2 "$work/results" | summary)"
}

mkdir "$work/demo"
"$dbtool" demo "$work/demo/BAZA.mdb" >/dev/null
measure "demo database" "$work/demo"
if [ -n "$large" ]; then
    mkdir "$work/large"
    cp "$large" "$work/large/BAZA.mdb"
    employees=$("$dbtool" query "$work/large/BAZA.mdb" -- "SELECT COUNT(*) FROM Sotr" 2>/dev/null | tail -n1 || true)
    measure "$(basename "$large") (${employees:-?} empl.)" "$work/large"
fi
