#!/usr/bin/env bash
# Serves Ostrel over VNC on a machine without a display: a private X display
# (Xvfb, 1024 x 768, room for the main window at any size it restores) and a
# VNC server on it that listens on the loopback interface only
# (127.0.0.1:$OSTREL_VNC_PORT, 5900 unless set), without a password: only
# users of this machine, or those who tunnel in with ssh, can reach it.
# Ctrl+C (or SIGTERM/SIGHUP) ends Ostrel, the VNC server and the display.
#   vnc-session.sh OSTREL [ostrel arguments...]
set -euo pipefail
binary=$1
shift
port=${OSTREL_VNC_PORT:-5900}
size=1024x768

if ! command -v x11vnc >/dev/null || ! command -v Xvfb >/dev/null; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "== Installing the VNC server and the virtual display (x11vnc, xvfb)"
    $sudo apt-get update -q && $sudo apt-get install -y -q --no-install-recommends x11vnc xvfb
fi

# A display number nobody uses.
display=
for number in $(seq 50 99); do
    if [ ! -e "/tmp/.X$number-lock" ] && [ ! -e "/tmp/.X11-unix/X$number" ]; then
        display=:$number
        break
    fi
done
[ -n "$display" ] || { echo "== No free X display number between 50 and 99" >&2; exit 1; }

pids=()
stop() {
    trap - EXIT INT TERM HUP
    # Ostrel first (it ends within two seconds on SIGTERM), then the rest.
    for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap stop EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

Xvfb "$display" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done

x11vnc -display "$display" -rfbport "$port" -listen 127.0.0.1 -noipv6 -localhost -nopw -forever \
    -shared -norc -quiet >/dev/null 2>&1 &
vnc=$!

echo "== No display here (neither DISPLAY nor WAYLAND_DISPLAY is set)."
echo "== Ostrel is served over VNC on 127.0.0.1:$port (this machine only, no password)."
echo "== Point a VNC viewer at localhost:$port; from another machine, tunnel first:"
echo "==     ssh -L $port:localhost:$port this-machine"
echo "== Press Ctrl+C here to end Ostrel and the VNC server."
DISPLAY=$display "$binary" "$@" &
app=$!
pids=("$app" "$vnc" "$xvfb")
# Ends when Ostrel does (File > Quit, closing the window) or on a signal.
wait "$app" || true
