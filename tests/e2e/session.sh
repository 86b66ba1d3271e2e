# Sourced by the end-to-end scripts: one run's own X display (Xvfb, 1024 x
# 768) and its own XDG folders, so nothing of the user's settings, data or
# recovery files is read or written. Sets home, display and xvfb; the
# script's cleanup stops $xvfb and removes $home, then calls wait_for_display.
home=$(mktemp -d)
display=:$((90 + RANDOM % 800))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home
wait_for_display() {
    for _ in $(seq 1 50); do xdotool getmouselocation >/dev/null 2>&1 && return 0; sleep 0.1; done
}
