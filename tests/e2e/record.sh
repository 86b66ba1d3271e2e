#!/usr/bin/env bash
# End to end: a recording survives the program being killed. Under Xvfb,
# with the loopback as input and output, Record is chosen in the MIDI In
# monitor's context menu, the editor sends 40 notes, and 1.5 s after the
# last one the program is killed with SIGKILL. The file it leaves is read
# by a parser of its own (read_midi_file.py): a valid MIDI file holding
# all 40 notes in order.
#   record.sh OSTREL SCREENSHOT-TOOL OUTDIR
set -euo pipefail
ostrel=$1 screenshot=$2 outdir=$3
mkdir -p "$outdir"
source "$(dirname "$0")/session.sh"
trap end_session EXIT
export JACK_DEFAULT_SERVER=ostrel-e2e-none
wait_for_display

start_with_ports "Ostrel Loopback 1" "Ostrel Loopback 1"

# Record, from the In monitor's context menu (the default layout puts it top left).
text_x=150 text_y=150
xdotool mousemove "$text_x" "$text_y" click 3
sleep 0.5
xdotool key r
take=$home/take.mid
dialog_type Record "$take" r
for _ in $(seq 1 30); do [ -s "$take" ] && break; sleep 0.1; done
[ -s "$take" ] || fail "recording did not start"

# Forty notes from the editor below the monitor, sent with F5.
xdotool mousemove 150 460 click 1
notes=
for i in $(seq 0 39); do notes+=$(printf '90 %02X 40 ' $((0x30 + i))); done
xdotool type --delay 5 "$notes"
sleep 0.3
xdotool key F5
for _ in $(seq 1 50); do
    [ "$(python3 "$(dirname "$0")/read_midi_file.py" "$take" 2>/dev/null | wc -l)" -ge 40 ] && break
    sleep 0.1
done
sleep 1.5
"$screenshot" "$outdir/recording.png"
kill -9 "$app"
wait "$app" 2>/dev/null || true
app=

events=$(python3 "$(dirname "$0")/read_midi_file.py" "$take") || fail "the killed recording is no valid MIDI file"
expected=$(for i in $(seq 0 39); do printf '90%02X40\n' $((0x30 + i)); done)
[ "$(cut -d' ' -f2 <<<"$events")" = "$expected" ] ||
    fail "the killed recording does not hold the 40 notes in order: $events"
echo "killed 1.5 s after the last note: the file is valid and holds all 40 notes"
