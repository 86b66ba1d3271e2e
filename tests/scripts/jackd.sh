#!/usr/bin/env bash
# Starts or stops the private JACK server the jack-labelled tests run against:
#   jackd.sh start NAME PIDFILE LOGFILE    (waits until the server answers)
#   jackd.sh stop NAME PIDFILE
# The dummy driver needs no sound hardware; --no-realtime needs no privileges.
# --sync with a long client time-out: a client slowed down by a sanitizer
# delays a cycle instead of stalling the asynchronous graph after an xrun.
set -euo pipefail
action=$1 name=$2 pidfile=$3

case "$action" in
start)
    logfile=$4
    if [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null; then
        kill "$(cat "$pidfile")" 2>/dev/null || true
        sleep 0.5
    fi
    jackd --no-realtime --sync -t 5000 -n "$name" -d dummy -r 48000 -p 256 >"$logfile" 2>&1 &
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
        kill "$pid" 2>/dev/null || true
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
