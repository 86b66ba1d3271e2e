#!/usr/bin/env bash
# End to end: the command line without any display. --help and --version
# answer on stdout and exit 0; an unknown option, a bad --midi-api value or
# two projects print the error and the usage hint on stderr and exit 2.
#   cli.sh OSTREL
set -euo pipefail
ostrel=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home
fail() { echo "FAILED: $*"; exit 1; }

# Runs the program with no display; sets status, out and err.
run() {
    status=0
    env -u DISPLAY -u WAYLAND_DISPLAY "$ostrel" "$@" >"$home/out" 2>"$home/err" || status=$?
    out=$(cat "$home/out")
    err=$(cat "$home/err")
}

run --help
[ "$status" -eq 0 ] || fail "--help exited $status: $err"
for text in "Usage: ostrel [options] [project]" "--midi-api <alsa|jack>" "--version" "Ostrel.ini"; do
    grep -qF -- "$text" <<<"$out" || fail "--help does not mention $text"
done
[ -z "$err" ] || fail "--help wrote to stderr: $err"
run -h
[ "$status" -eq 0 ] && grep -qF "Usage: ostrel" <<<"$out" || fail "-h"

run --version
[ "$status" -eq 0 ] && [[ $out =~ ^ostrel\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version: $status '$out'"

run --bogus
[ "$status" -eq 2 ] && [ -z "$out" ] || fail "--bogus exited $status"
grep -qF "ostrel: Unknown option 'bogus'." <<<"$err" && grep -qF "ostrel --help" <<<"$err" || fail "--bogus: $err"

run --midi-api=midi
[ "$status" -eq 2 ] && grep -qF "ostrel: --midi-api takes alsa or jack, not 'midi'" <<<"$err" || fail "--midi-api=midi: $err"

run one.ostrel two.ostrel
[ "$status" -eq 2 ] && grep -qF "one project at a time" <<<"$err" || fail "two projects: $err"
echo "--help, --version and the usage errors answer without a display"
