#!/usr/bin/env bash
# End to end: without a display the program is served over VNC on the
# loopback interface only. The session script starts it on a free port;
# every listener on that port must be 127.0.0.1 (none on 0.0.0.0 or ::),
# a client there must get the VNC greeting, and SIGTERM to the session must
# end the program, the VNC server and the display.
#   vnc.sh OSTREL SESSION-SCRIPT
set -euo pipefail
ostrel=$1 session=$2
home=$(mktemp -d)
port=$((20000 + RANDOM % 20000))
cleanup() {
    [ -n "${script:-}" ] && kill -TERM "$script" 2>/dev/null || true
    rm -rf "$home"
}
trap cleanup EXIT
fail() { echo "FAILED: $*"; ss -ltnp 2>/dev/null | grep ":$port " || true; exit 1; }

env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
    XDG_RUNTIME_DIR="$home" JACK_DEFAULT_SERVER=ostrel-e2e-none OSTREL_VNC_PORT=$port \
    "$session" "$ostrel" >"$home/session.log" 2>&1 &
script=$!

for _ in $(seq 1 100); do
    [ -n "$(ss -ltnH "sport = :$port")" ] && break
    sleep 0.1
done
listeners=$(ss -ltnH "sport = :$port" | awk '{print $4}')
[ -n "$listeners" ] || fail "nothing listens on port $port: $(cat "$home/session.log")"
for address in $listeners; do
    [ "$address" = "127.0.0.1:$port" ] || fail "listening on $address"
done
echo "listening on: $listeners"

exec 5<>"/dev/tcp/127.0.0.1/$port"
read -r -t 10 greeting <&5 || fail "no greeting"
exec 5>&-
case $greeting in RFB\ *) echo "greeting: $greeting" ;; *) fail "greeting: $greeting" ;; esac
grep -q "ssh -L $port:localhost:$port" "$home/session.log" || fail "no tunnel hint: $(cat "$home/session.log")"

children=$({ pgrep -P "$script" || true; } | tr '\n' ' ')
[ "$(echo "$children" | wc -w)" -ge 3 ] || fail "expected the program, the VNC server and the display: $children"
for _ in $(seq 1 50); do pgrep -f "^$ostrel" >/dev/null && break; sleep 0.1; done
kill -TERM "$script"
for _ in $(seq 1 100); do kill -0 "$script" 2>/dev/null || break; sleep 0.1; done
kill -0 "$script" 2>/dev/null && fail "the session did not end"
script=
for child in $children; do
    kill -0 "$child" 2>/dev/null && fail "process $child outlived the session"
done
[ -z "$(ss -ltnH "sport = :$port")" ] || fail "still listening after the session ended"
echo "SIGTERM ended the program, the VNC server and the display"
