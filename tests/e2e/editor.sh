#!/usr/bin/env bash
# End to end with a JACK peer: the real program under Xvfb, its ports
# stored by name in the INI file. The peer sends a 16384-byte dump and 50
# notes: the MIDI In monitor shows them and the editor, listening after F6,
# receives the dump text exactly. The text is saved through the Save dialog,
# cleared, reopened through the Open dialog, edited and sent back with F5,
# then sent again and again with repetition on until Cancel; the peer checks
# every byte. Screenshots go to OUTDIR.
#   editor.sh OSTREL SCREENSHOT-TOOL PEER OUTDIR
set -euo pipefail
ostrel=$1 screenshot=$2 peertool=$3 outdir=$4
mkdir -p "$outdir"
source "$(dirname "$0")/session.sh"
cleanup() {
    if [ -n "${app:-}" ]; then
        kill "$app" 2>/dev/null || true  # a JACK client killed outright holds the server up
        for _ in 1 2 3 4 5; do kill -0 "$app" 2>/dev/null || break; xdotool key ctrl+d 2>/dev/null; sleep 0.2; done
        kill -9 "$app" 2>/dev/null || true
    fi
    if [ -n "${peer:-}" ]; then
        echo quit >&3 2>/dev/null || true  # leave the server cleanly when possible
        for _ in 1 2 3 4 5; do kill -0 "$peer" 2>/dev/null || break; sleep 0.2; done
        kill "$peer" 2>/dev/null || true
    fi
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$home"
}
trap cleanup EXIT
wait_for_display

# The peer, driven through a pipe.
peername=ostrel-e2e-peer-$$
mkfifo "$home/peer.in"
"$peertool" "$peername" <"$home/peer.in" >"$home/peer.out" 2>&1 &
peer=$!
exec 3>"$home/peer.in"
for _ in $(seq 1 50); do grep -q ready "$home/peer.out" && break; sleep 0.1; done
grep -q ready "$home/peer.out" || fail "the peer did not start: $(cat "$home/peer.out")"
# Waits for the peer's answer number N (its lines after "ready").
answer() {
    for _ in $(seq 1 100); do
        [ "$(wc -l <"$home/peer.out")" -gt "$1" ] && return 0
        sleep 0.1
    done
    fail "the peer did not answer: $(cat "$home/peer.out")"
}

start_with_ports "$peername:out" "$peername:in"
# The default layout: the editor's text lies below the In monitor.
text_x=150 text_y=460
xdotool mousemove "$text_x" "$text_y" click 1
sleep 0.3
xdotool key F6
sleep 0.5
"$screenshot" "$outdir/listening.png"

echo "send-dump 16384" >&3
answer 1
sleep 1.5
"$screenshot" "$outdir/received.png"
# OK on the progress page: the received text shows.
xdotool key Return
sleep 0.5
"$screenshot" "$outdir/dump-text.png"

# Save through the editor's context menu and the Save dialog.
xdotool mousemove "$text_x" "$text_y" click 3
sleep 0.5
"$screenshot" "$outdir/context-menu.png"
xdotool key s
dialog_type Save "$home/received.txt" s
"$peertool" --dump-text 16384 >"$home/expected.txt"
for _ in $(seq 1 30); do [ -s "$home/received.txt" ] && break; sleep 0.1; done
cmp -s <(tr -d '\n' <"$home/received.txt") <(tr -d '\n' <"$home/expected.txt") ||
    fail "the saved dump text differs from what the peer sent"
echo "received the 16384-byte dump exactly and saved it"

# Clear the text, reopen the file into the same editor, add a comment.
xdotool mousemove "$text_x" "$text_y" click 1
xdotool key ctrl+a Delete
sleep 0.3
xdotool mousemove "$text_x" "$text_y" click 3
sleep 0.5
xdotool key o
dialog_type Open "$home/received.txt" o
sleep 0.5
xdotool mousemove "$text_x" "$text_y" click 1
xdotool key ctrl+End
xdotool type --delay 30 " // sent back"
sleep 0.3
"$screenshot" "$outdir/reopened-and-edited.png"

# What the peer has received so far: the number of dumps (each starts with
# F0; data bytes never do). Each call asks the peer for a new record.
# Sets dumps and record (the file written).
asked=1
count_dumps() {
    asked=$((asked + 1))
    echo "write $home/record-$asked.txt" >&3
    answer "$asked"
    record=$home/record-$asked.txt
    # None yet is a count of 0, not a failed pipeline (which would end the script).
    dumps=$(head -n 1 "$record" | { grep -o 'F0' || true; } | wc -l)
}

# F5 in the editor until the peer holds at least N dumps (F5 again only
# when the key was lost).
transmit_until() {
    for _ in 1 2 3; do
        xdotool mousemove "$text_x" "$text_y" click 1
        xdotool key F5
        for _ in $(seq 1 20); do
            count_dumps
            [ "$dumps" -ge "$1" ] && return 0
            sleep 0.2
        done
    done
    fail "F5 sent nothing"
}

# Back to the peer once.
transmit_until 1
sleep 0.5
count_dumps
[ "$dumps" -eq 1 ] || fail "the peer did not receive the dump exactly once"
expected=$(tr -d '\n' <"$home/expected.txt")
[ "$(head -n 1 "$record")" = "$expected" ] || fail "the dump sent back differs from the text"
echo "sent the dump back: the peer received all 16384 bytes"

# Again and again: Ctrl+R shows the repeat bar; its check box, then F5.
xdotool key ctrl+r
sleep 0.5
"$screenshot" "$outdir/repeat-bar.png"
xdotool mousemove 20 375 click 1
sleep 0.3
transmit_until 2
sleep 0.3
"$screenshot" "$outdir/repeating.png"
for _ in $(seq 1 40); do
    count_dumps
    [ "$dumps" -ge 4 ] && break
    sleep 0.2
done
# Cancel on the repeat page (its button has the focus), until the peer
# hears nothing more for 1.5 s (longer than the 1000 ms interval).
stopped=
for attempt in 1 2 3; do
    xdotool key Return
    count_dumps
    before=$dumps
    sleep 1.5
    count_dumps
    [ "$dumps" -eq "$before" ] && { stopped=yes; break; }
done
[ -n "$stopped" ] || fail "Cancel did not end the repetition"
"$screenshot" "$outdir/after-cancel.png"
count_dumps
copies=$dumps
[ "$copies" -ge 4 ] || fail "repetition sent the dump only $((copies - 1)) times"
body=$(head -n 1 "$record")
[ "$body" = "$(printf '%s' "$expected"; for _ in $(seq 2 "$copies"); do printf ' %s' "$expected"; done)" ] ||
    fail "the repeated dumps differ from the text"
echo "repeated $((copies - 1)) times until Cancel"

# Quit: SIGTERM ends it without asking.
ends_on TERM
# The peer leaves the server cleanly (a killed client holds the server up
# when it is stopped).
echo quit >&3
exec 3>&-
wait "$peer" || true
peer=
echo "screenshots in $outdir"
