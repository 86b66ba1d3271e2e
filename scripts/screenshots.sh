#!/usr/bin/env bash
# Takes the README's pictures from the real program under Xvfb (a fresh
# start with no settings, the loopback as input and output 1) and writes
# them to docs/screenshots/: the main window with traffic in both monitors
# and an editor, the keyboard and the generator windows, the filter, the
# monitors' words and delta times, a monitor's menu, the editor's checksum
# menu, the preferences and MIDI-CI in the In monitor. Run it after a change to any window; needs a
# built tree.
#   scripts/screenshots.sh
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build --preset release --target ostrel ostrel_screenshot >/dev/null
ostrel=build/release/app/ostrel
shot=build/release/tests/ostrel_screenshot
out=docs/screenshots
mkdir -p "$out"
source tests/e2e/session.sh
cleanup() {
    [ -n "${app:-}" ] && kill -TERM "$app" 2>/dev/null && wait "$app" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$home"
}
trap cleanup EXIT
wait_for_display

ini=$XDG_CONFIG_HOME/ostrel/Ostrel.ini
mkdir -p "$(dirname "$ini")"
# The settings every picture starts from, and more preferences as arguments.
write_settings() {
    printf '%s\n' "[PortName]" "InputPortName=Ostrel Loopback 1" "OutputPortName=Ostrel Loopback 1" \
        "[Preferences]" "MessageDetail=1" "$@" >"$ini"
}
write_settings
# One fresh start per picture: no save question comes in the way.
start() {
    if [ -n "${app:-}" ]; then
        kill -TERM "$app"
        wait "$app" 2>/dev/null || true
    fi
    rm -rf "$XDG_DATA_HOME"
    JACK_DEFAULT_SERVER=ostrel-screenshots-none "$ostrel" >/dev/null 2>&1 &
    app=$!
    main=$(timeout 10 xdotool search --sync --onlyvisible --name '^Ostrel$' | head -n 1)
    xdotool windowfocus --sync "$main" 2>/dev/null || true
    sleep 0.5
}
# Window > Close All (an unedited project closes without a question).
close_all() {
    xdotool key --window "$main" alt+w
    sleep 0.3
    xdotool key a
    sleep 0.5
}

start
# Traffic: a short message list typed into the editor, sent with F5; the
# loopback brings it back into the In monitor.
xdotool mousemove --window "$main" 150 470 click 1
sleep 0.3
xdotool type --delay 20 "90 3C 64 90 40 64 80 3C 00 B0 07 64 C0 05 E0 00 40 F0 7E 7F 06 01 F7"
xdotool key F5
sleep 1
"$shot" "$out/main-window.png" "$main"

start
close_all
for shortcut in ctrl+t ctrl+p ctrl+b ctrl+1 ctrl+k; do
    xdotool key --window "$main" "$shortcut"
    sleep 0.4
done
sleep 0.5
"$shot" "$out/generators.png" "$main"

start
close_all
xdotool key --window "$main" ctrl+l
sleep 0.8
"$shot" "$out/filter.png" "$main"

# The preferences window.
start
close_all
xdotool key --window "$main" ctrl+comma
sleep 0.8
"$shot" "$out/preferences.png" "$main"

# A monitor's words with delta times: a registered and a non-registered
# parameter set by data entry, an identity request and a parameter dump.
# (The running program writes its settings when it ends: end it first.)
kill -TERM "$app"
wait "$app" 2>/dev/null || true
app=
write_settings TimeStamp=1 MessageTimeFormat=2
start
xdotool mousemove --window "$main" 150 470 click 1
sleep 0.3
xdotool type --delay 10 "B0 65 00 B0 64 00 B0 06 02 B0 63 01 B0 62 23 B0 06 40 B0 26 05 C0 05 E0 7F 7F F0 7E 7F 06 01 F7"
xdotool key F5
sleep 1
# The In monitor's menu: Pause, Find, Save Text As, Log to File, Record.
xdotool mousemove --window "$main" 150 150 click 3
sleep 0.6
"$shot" "$out/monitor-menu.png"
xdotool key Escape
sleep 0.3
# The editor's checksum commands.
xdotool mousemove --window "$main" 150 470 click 3
sleep 0.6
xdotool key k
sleep 0.6
"$shot" "$out/checksum-menu.png"
xdotool key Escape Escape
sleep 0.3
# The In monitor maximized, so that its lines show whole.
xdotool mousemove --window "$main" 150 33 click --repeat 2 1
sleep 0.6
"$shot" "$out/monitor-words.png" "$main"

# MIDI-CI in the In monitor: a Discovery, the instrument's reply, and a
# Property Exchange reply in two chunks, joined on the line of the last.
kill -TERM "$app"
wait "$app" 2>/dev/null || true
app=
write_settings
start
xdotool mousemove --window "$main" 150 470 click 1
sleep 0.3
xdotool type --delay 5 "F0 7E 7F 0D 70 02 67 0A 0D 09 7F 7F 7F 7F 7D 00 00 00 00 00 00 01 06 00 00 0C 00 00 40 00 00 F7 F0 7E 7F 0D 71 02 3C 15 00 00 67 0A 0D 09 7D 00 00 05 00 06 00 01 02 03 04 0C 00 20 00 00 00 7F F7 F0 7E 7F 0D 35 02 3C 15 00 00 67 0A 0D 09 03 0E 00 7B 22 73 74 61 74 75 73 22 3A 32 30 30 7D 02 00 01 00 1C 00 7B 22 6D 61 6E 75 66 61 63 74 75 72 65 72 49 64 22 3A 5B 31 32 35 2C 30 2C 30 5D 2C F7 F0 7E 7F 0D 35 02 3C 15 00 00 67 0A 0D 09 03 00 00 02 00 02 00 10 00 22 76 65 72 73 69 6F 6E 22 3A 22 31 2E 32 22 7D F7"
xdotool key F5
sleep 1
# The whole screen's width, the In monitor maximized and scrolled to the
# words after the bytes.
xdotool windowsize "$main" 1024 600
sleep 0.3
xdotool mousemove --window "$main" 150 33 click --repeat 2 1
sleep 0.6
xdotool mousemove --window "$main" 220 569 mousedown 1 mousemove --window "$main" 545 569 mouseup 1
sleep 0.5
"$shot" "$out/midi-ci.png" "$main"
ls -1 "$out"
