#!/usr/bin/env bash
# Starts or stops the private JACK server the jack-labelled tests run against:
#   jackd.sh start NAME PIDFILE LOGFILE [async]   (waits until the server answers)
#   jackd.sh stop NAME PIDFILE
# The dummy driver needs no sound hardware; --no-realtime needs no privileges.
# --sync with a long client time-out: a client slowed down by a sanitizer
# delays a cycle instead of stalling the asynchronous graph after an xrun.
# "async" starts the server as most desktops run it: a client that is late
# makes it skip whole cycles, which the loss tests need.
set -euo pipefail
action=$1 name=$2 pidfile=$3

case "$action" in
start)
    logfile=$4
    mode=(--sync -t 5000)
    [ "${5:-}" = async ] && mode=()
    if [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null; then
        kill -INT "$(cat "$pidfile")" 2>/dev/null || true
        sleep 0.5
    fi
    jackd --no-realtime "${mode[@]}" -n "$name" -d dummy -r 48000 -p 256 >"$logfile" 2>&1 &
    echo $! >"$pidfile"
    for _ in $(seq 1 100); do
        if jack_lsp -s "$name" >/dev/null 2>&1; then
            echo "JACK server '$name' running (pid $(cat "$pidfile"))"
            exit 0
        fi
        if ! kill -0 "$(cat "$pidfile")" 2>/dev/null; then
            break
        fi
        sleep 0.1
    done
    echo "JACK server '$name' did not start:" >&2
    cat "$logfile" >&2
    exit 1
    ;;
stop)
    if [ -f "$pidfile" ]; then
        pid=$(cat "$pidfile")
        # SIGINT: the server frees its slot in the shared registry.
        kill -INT "$pid" 2>/dev/null || true
        for _ in $(seq 1 50); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$pid" 2>/dev/null || true
        rm -f "$pidfile"
    fi
    echo "JACK server '$name' stopped"
    ;;
esac
