#!/usr/bin/env bash
# Start-up to a mapped main window: Ostrel (its default layout, the settings
# of a first start) beside a bare Qt main window with an MDI area, started
# alternately under one Xvfb, ROUNDS times each; medians and ranges in ms.
#   bench/startup_measure.sh BUILD-DIR [ROUNDS]
# JACK_DEFAULT_SERVER chooses the JACK server Ostrel finds (none by default).
set -euo pipefail
build=$(readlink -f "$1")
rounds=${2:-15}
display=:$((60 + RANDOM % 30))
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
home=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$home"' EXIT
export DISPLAY=$display XDG_CONFIG_HOME=$home/config
export JACK_DEFAULT_SERVER=${JACK_DEFAULT_SERVER:-ostrel-startup-none}
for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
[ -x "$build/bench/map_wait" ] || { echo "build the map_wait target first (needs Xlib)"; exit 1; }

# Milliseconds from the start of PROGRAM to its window NAME being mapped.
measure() {
    "$build/bench/map_wait" "$@"
}

summary() {
    sort -n | awk '{a[NR]=$1} END {printf "median %d ms (%d-%d, %d runs)", a[int((NR+1)/2)], a[1], a[NR], NR}'
}

ours=() bare=()
measure Bare "$build/bench/bare_window" >/dev/null  # warm the caches
measure Ostrel "$build/app/ostrel" >/dev/null
for _ in $(seq 1 "$rounds"); do
    rm -rf "$home/config"  # a first start each time: the default layout
    ours+=("$(measure Ostrel "$build/app/ostrel")")
    bare+=("$(measure Bare "$build/bench/bare_window")")
done
o=$(printf '%s\n' "${ours[@]}" | summary)
b=$(printf '%s\n' "${bare[@]}" | summary)
echo "Ostrel:      $o"
echo "bare Qt:     $b"
om=$(printf '%s\n' "${ours[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
bm=$(printf '%s\n' "${bare[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
awk -v o="$om" -v b="$bm" 'BEGIN {printf "ratio:       %.2fx\n", o / b}'
