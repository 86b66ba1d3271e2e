#!/usr/bin/env bash
# The run command: installs what is missing, builds, and starts Ostrel with
# any arguments given (a project file, --midi-api=alsa|jack).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release

binary=build/release/app/ostrel
if [ ! -x "$binary" ]; then
    echo "Built the MIDI library; this revision has no application window yet." >&2
    exit 1
fi
exec "$binary" "$@"
