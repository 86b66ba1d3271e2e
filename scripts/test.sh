#!/usr/bin/env bash
# The test command: installs what is missing, builds, and runs the whole test
# suite: the optimised build's tests, then the unit tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer with the fuzz smoke runs.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

echo "== Release build (build/release)"
cmake --preset release >/dev/null
cmake --build --preset release

echo "== Release tests"
ctest --preset release -j2

echo "== Sanitizer build (build/asan: clang, ASan + UBSan, fuzzers)"
cmake --preset asan >/dev/null
cmake --build --preset asan

echo "== Sanitizer unit tests and fuzz smoke"
ctest --preset asan -j2 -L 'unit|fuzz'

echo "== All tests passed"
