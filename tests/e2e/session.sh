# Sourced by the end-to-end scripts: one run's own X display (Xvfb, 1024 x
# 768) and its own XDG folders, so nothing of the user's settings, data or
# recovery files is read or written. Sets home, display and xvfb; the
# script's cleanup stops $xvfb and removes $home, then calls wait_for_display.
# The script's $app is the program, $outdir where its log and pictures go,
# $screenshot the picture taker.
home=$(mktemp -d)
display=:$((90 + RANDOM % 800))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home
wait_for_display() {
    for _ in $(seq 1 50); do xdotool getmouselocation >/dev/null 2>&1 && return 0; sleep 0.1; done
}
# The cleanup of a script with no peer to stop: the program, if it still
# runs, is killed outright.
end_session() {
    [ -n "${app:-}" ] && kill -9 "$app" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$home"
}
# Starts the program with its ports stored by name (INPUT, OUTPUT) and the
# dump folder in $home, and moves its window to the top left. Sets app.
#   start_with_ports INPUT OUTPUT
start_with_ports() {
    local ini window
    ini=$XDG_CONFIG_HOME/$(basename "$ostrel")/Ostrel.ini
    mkdir -p "$(dirname "$ini")"
    printf '[FileWorkingDirectory]\nDumpFileWorkingDirectory=%s\n[PortName]\nInputPortName=%s\nOutputPortName=%s\n' \
        "$home" "$1" "$2" >"$ini"
    "$ostrel" >"$outdir/ostrel.log" 2>&1 &
    app=$!
    window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Ostrel$' | head -n 1)
    xdotool windowmove --sync "$window" 0 0 2>/dev/null || true
    sleep 0.8
}
# Says what failed, with a picture of the display, and stops the script.
fail() {
    echo "FAILED: $*"
    [ -z "${screenshot:-}" ] || "$screenshot" "$outdir/failure.png" 2>/dev/null || true
    exit 1
}
# Sends SIGNAL to $app and waits (generously) for the program to end by
# itself, with status 0: not by the watchdog that ends a quit taking too long.
ends_on() {
    kill -"$1" "$app"
    for _ in $(seq 1 100); do
        if ! kill -0 "$app" 2>/dev/null; then
            status=0
            wait "$app" || status=$?
            app=
            [ "$status" -eq 0 ] || fail "SIG$1 ended it with status $status: $(tail -n 20 "$outdir/ostrel.log")"
            echo "SIG$1 ended it with status 0"
            return 0
        fi
        sleep 0.1
    done
    fail "still running after SIG$1"
}
# Types TEXT into the dialog titled NAME and presses Return; a busy X
# server may lose the focus or keys, so while the dialog stays up it is
# closed and opened again from the context menu at ($text_x, $text_y) with
# KEY.
#   dialog_type NAME TEXT KEY
dialog_type() {
    local dialog
    dialog=$(timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1)
    for attempt in 1 2 3; do
        xdotool windowfocus --sync "$dialog" 2>/dev/null || true
        sleep 0.$((attempt * 3))
        xdotool key ctrl+a
        xdotool type --delay 30 "$2"
        sleep 0.2
        xdotool key Return
        sleep 0.8
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        "$screenshot" "$outdir/$1-attempt-$attempt.png"
        xdotool key Escape
        sleep 0.3
        # Opened again for the next attempt.
        xdotool mousemove "$text_x" "$text_y" click 3
        sleep 0.5
        xdotool key "$3"
        dialog=$(timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1)
    done
    fail "the $1 dialog did not take the name"
}
