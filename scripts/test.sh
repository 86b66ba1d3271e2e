#!/usr/bin/env bash
# The test command: installs what is missing, builds, and runs the whole test
# suite. Three builds, one folder each under build/:
#   release  every test: unit, jack (a private JACK server is started and
#            stopped by the tests themselves), alsa (in a small virtual
#            machine when this machine has no sequencer), gui, e2e, and
#            package (the .deb built, unpacked and checked);
#   asan     clang with AddressSanitizer and UndefinedBehaviorSanitizer: the
#            unit and gui tests again, and each fuzz target for a short run;
#   tsan     clang with ThreadSanitizer: the unit and jack tests again.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

run_build() {
    local preset=$1 labels=$2
    echo "== Build: $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    echo "== Tests: $preset ($labels)"
    ctest --test-dir "build/$preset" --output-on-failure -j2 -L "$labels"
}

run_build release 'unit|jack|alsa|gui|e2e|package'
# A second configure of a built tree must leave nothing to rebuild (the run
# command configures every time and should start at once).
cmake --preset release >/dev/null
if ! ninja -C build/release -n | grep -q "no work to do"; then
    echo "== A configure of an unchanged tree made work:"
    ninja -C build/release -n -d explain 2>&1 | head -20
    exit 1
fi
run_build asan 'unit|gui|fuzz'
run_build tsan 'unit|jack'

echo "== All tests passed"
