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
