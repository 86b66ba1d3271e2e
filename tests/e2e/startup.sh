#!/usr/bin/env bash
# End to end: the real program under Xvfb, driven with real input. It must
# start and show its main window with the menu bar and the application icon
# (on the Save dialog too), open its input port menu
# (listing the loopback), take a port chosen with the keyboard (written to
# its INI file), and quit cleanly on SIGTERM. Screenshots go to OUTDIR.
# Also prints the start-up time (to the first shown main window) and the
# resident memory, which docs/benchmarks.md records.
#   startup.sh OSTREL SCREENSHOT-TOOL OUTDIR
set -euo pipefail
ostrel=$1 screenshot=$2 outdir=$3
mkdir -p "$outdir"
source "$(dirname "$0")/session.sh"
cleanup() {
    kill "$xvfb" 2>/dev/null || true
    [ -n "${app:-}" ] && kill -9 "$app" 2>/dev/null || true
    rm -rf "$home"
}
trap cleanup EXIT
wait_for_display

# Projects are saved in this run's own folder: the dialog starts there.
ini=$XDG_CONFIG_HOME/$(basename "$ostrel")/Ostrel.ini
mkdir -p "$(dirname "$ini")"
printf '[FileWorkingDirectory]\nProjectFileWorkingDirectory=%s\n' "$home" >"$ini"

start=$(date +%s%N)
# No JACK server by this name: only the loopback is offered.
JACK_DEFAULT_SERVER=ostrel-e2e-none "$ostrel" >"$outdir/ostrel.log" 2>&1 &
app=$!
window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Ostrel$' | head -n 1)
shown=$(date +%s%N)
echo "start-up: $(( (shown - start) / 1000000 )) ms to the shown main window"
sleep 0.5
echo "resident memory: $(awk '/VmRSS/ {print $2, $3}' /proc/$app/status)"
"$screenshot" "$outdir/main-window.png"
# The application icon on the window, in the sizes a desktop asks for.
# (xprop's output is taken whole first: grep -q would cut the pipe short.)
icons=$(xprop -id "$window" _NET_WM_ICON)
for size in 16 48 128; do
    grep -qF "Icon ($size x $size)" <<<"$icons" || fail "no $size-pixel icon on the main window"
done

xdotool windowfocus --sync "$window" 2>/dev/null || true
# A slow machine may not have the menu open yet when the keys arrive: retry.
for attempt in 1 2 3; do
    xdotool key --window "$window" alt+i
    sleep $((attempt)).7
    [ "$attempt" -eq 1 ] && "$screenshot" "$outdir/input-port-menu.png"
    xdotool key Down Return
    for _ in $(seq 1 30); do grep -q 'InputPortName=Ostrel Loopback 1' "$ini" 2>/dev/null && break 2; sleep 0.1; done
    xdotool key Escape
done
grep -q 'InputPortName=Ostrel Loopback 1' "$ini" || fail "the chosen port was not stored"
echo "chose Ostrel Loopback 1 from the input port menu"

# The filter and MIDI settings windows, from their shortcuts.
xdotool key --window "$window" ctrl+l
sleep 0.5
xdotool key --window "$window" ctrl+m
sleep 0.8
"$screenshot" "$outdir/filter-and-settings.png"

# A keyboard window from its shortcut, then the other message windows.
xdotool key --window "$window" ctrl+k
sleep 0.6
"$screenshot" "$outdir/keyboard.png"
for shortcut in ctrl+p ctrl+b ctrl+t ctrl+1 ctrl+j ctrl+2 ctrl+d; do
    xdotool key --window "$window" "$shortcut"
    sleep 0.3
done
xdotool key --window "$window" ctrl+2
sleep 0.6
"$screenshot" "$outdir/generators.png"

# Preferences, then the About box from the Help menu, closed by a click.
xdotool key --window "$window" ctrl+comma
sleep 0.5
xdotool key --window "$window" alt+h
sleep 0.4
xdotool key Return
sleep 0.6
"$screenshot" "$outdir/about.png"
xdotool mousemove --window "$window" 600 500 click 1
sleep 0.4
"$screenshot" "$outdir/after-about.png"

# Save the project through the File menu's dialog, typed as a user would.
xdotool key --window "$window" ctrl+s
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Save$' | head -n 1)
icons=$(xprop -id "$dialog" _NET_WM_ICON)
grep -qF "Icon (32 x 32)" <<<"$icons" || fail "no icon on the Save dialog"
sleep 0.5
"$screenshot" "$outdir/save-dialog.png"
# No window manager gives the dialog the focus: take it, type the name. A
# busy X server may drop some of the keys, so the file is looked for by what
# the dialog accepted, and typing is tried again while the dialog stays open.
saved=
for attempt in 1 2 3; do
    xdotool windowfocus --sync "$dialog" 2>/dev/null || true
    sleep 0.$((attempt * 3))
    xdotool key ctrl+a
    xdotool type --delay 50 bench
    sleep 0.2
    xdotool key Return
    for _ in $(seq 1 40); do
        saved=$(find "$home" -maxdepth 1 -type f -size +0 | head -n 1)
        [ -n "$saved" ] && break 2
        sleep 0.1
    done
    "$screenshot" "$outdir/save-attempt-$attempt.png"
    xdotool search --onlyvisible --name '^Save$' >/dev/null 2>&1 || break
done
[ -n "$saved" ] || fail "the project was not saved"
head -c 6 "$saved" | grep -q KALDER || fail "the saved file is not a project"
name=$(basename "$saved")
timeout 10 xdotool search --sync --name "^${name//./\\.} - Ostrel\$" >/dev/null
project=$saved
echo "saved the project as $name; the title names it"

ends_on TERM

# A second start: the chosen port comes back from the INI file, and a
# project named on the command line opens.
JACK_DEFAULT_SERVER=ostrel-e2e-none "$ostrel" "$project" >>"$outdir/ostrel.log" 2>&1 &
app=$!
window=$(timeout 10 xdotool search --sync --onlyvisible --name "^${name//./\\.} - Ostrel\$" | head -n 1)
echo "reopened with the project from the command line"
sleep 0.8
"$screenshot" "$outdir/project-reopened.png"
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key --window "$window" alt+i
sleep 0.7
"$screenshot" "$outdir/input-port-menu-after-restart.png"
xdotool key Escape
grep -q 'InputPortName=Ostrel Loopback 1' "$ini"
ends_on TERM
echo "screenshots in $outdir"
