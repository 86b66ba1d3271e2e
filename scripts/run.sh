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
    exec scripts/vnc-session.sh "$binary" "$@"
fi
echo "== Starting Ostrel"
exec "$binary" "$@"
