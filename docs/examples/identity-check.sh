#!/usr/bin/env bash
# A continuous integration step: asks the instrument on PORT who it is (the
# universal Identity Request) and fails the job unless an Identity Reply
# comes within 2 seconds. The reply is kept as identity.syx for later steps.
#   identity-check.sh PORT
set -euo pipefail
port=${1:?usage: identity-check.sh PORT}

status=0
reply=$(ostrel-cli request --out "$port" --in "$port" \
    --hex "F0 7E 7F 06 01 F7" --expect "F0 7E" --timeout 2 --save identity.syx) || status=$?

case $status in
0) echo "identity: $reply" ;;
2) echo "::error::no Identity Reply from $port within 2 s"; exit 1 ;;
3) echo "::error::$port answered something else: $reply"; exit 1 ;;
*) echo "::error::ostrel-cli could not ask $port (status $status)"; exit 1 ;;
esac
