#!/usr/bin/env bash
# The run command: installs what is missing, builds, and starts Ostrel with
# any arguments given (a project file, --midi-api=alsa|jack).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release

binary=build/release/app/ostrel
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    # No display on this machine: serve the window over VNC instead.
    port=5900
    echo "== No display here (neither DISPLAY nor WAYLAND_DISPLAY is set)."
    echo "== Ostrel is served over VNC: point a VNC viewer at localhost:$port"
    echo "== (from another machine: ssh -L $port:localhost:$port this-machine)."
    exec "$binary" -platform "vnc:size=1280x800:port=$port" "$@"
fi
echo "== Starting Ostrel"
exec "$binary" "$@"
