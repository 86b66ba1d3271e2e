#!/usr/bin/env bash
# End to end: signals end the real program whatever dialog is open, and an
# edited project survives them. Under Xvfb:
#  1. SIGTERM while "File open failed." is up (a damaged project named on
#     the command line, before the main loop ran) ends the process, which
#     has said the failure on stderr too;
#  2. with an edited project, SIGINT while the save question is up ends it
#     without asking and leaves a recovery file;
#  3. the next start offers "Restore the unsaved project from ...?"; Yes
#     brings the windows back as an edited, untitled project and removes the
#     file; SIGHUP then ends it (writing a new recovery file);
#  4. No at the next start removes the file; a normal quit leaves none.
#   signals.sh OSTREL SCREENSHOT-TOOL OUTDIR
set -euo pipefail
ostrel=$1 screenshot=$2 outdir=$3
mkdir -p "$outdir"
source "$(dirname "$0")/session.sh"
trap end_session EXIT
export JACK_DEFAULT_SERVER=ostrel-e2e-none
wait_for_display
: >"$outdir/ostrel.log"
recovery=$XDG_DATA_HOME/$(basename "$ostrel")/recovery.ostrel

# Waits (generously) until N visible windows are titled exactly TITLE.
windows_titled() {
    local title=$1 count=$2
    for _ in $(seq 1 100); do
        [ "$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | wc -l)" -ge "$count" ] && return 0
        sleep 0.1
    done
    return 1
}
start() {
    "$ostrel" "$@" >>"$outdir/ostrel.log" 2>&1 &
    app=$!
}
# Answers the restore question with KEY; a busy X server may drop the focus
# or the key, so it is tried again while the question stays up.
answer_box() {
    for _ in 1 2 3 4 5; do
        box=$(xdotool search --onlyvisible --name '^Ostrel$' | tail -n 1)
        xdotool windowfocus --sync "$box" 2>/dev/null || true
        xdotool key "$1"
        for _ in $(seq 1 20); do
            [ "$(xdotool search --onlyvisible --name '^Ostrel$' 2>/dev/null | wc -l)" -lt 2 ] && return 0
            sleep 0.1
        done
    done
    fail "the restore question did not take $1"
}

# 1. A box from the command line's project, before the main loop.
printf 'not a project' >"$home/damaged.ostrel"
start "$home/damaged.ostrel"
windows_titled Ostrel 2 || fail "no main window and box"
"$screenshot" "$outdir/open-failed-box.png"
ends_on TERM
[ ! -e "$recovery" ] || fail "a recovery file for an unedited project"
grep -qF "ostrel: $home/damaged.ostrel: File open failed." "$outdir/ostrel.log" ||
    fail "the failed open was not said on stderr: $(cat "$outdir/ostrel.log")"
echo "SIGTERM with the open-failed box up: ended, no recovery file, the failure said on stderr"

# 2. An edit (a keyboard window), then the save question (New), then SIGINT.
start
main=$(timeout 10 xdotool search --sync --onlyvisible --name '^Ostrel$' | head -n 1)
xdotool windowfocus --sync "$main" 2>/dev/null || true
for _ in 1 2 3; do
    xdotool key --window "$main" ctrl+k
    windows_titled '\*Ostrel' 1 && break
done
windows_titled '\*Ostrel' 1 || fail "the keyboard window did not mark the project edited"
xdotool key --window "$main" ctrl+n
windows_titled Ostrel 1 || fail "no save question"
"$screenshot" "$outdir/save-question.png"
ends_on INT
[ -s "$recovery" ] || fail "no recovery file after SIGINT"
echo "SIGINT with the save question up: ended, recovery file written"

# 3. Restored with Yes (the default button), then SIGHUP.
start
windows_titled Ostrel 2 || fail "no restore question"
"$screenshot" "$outdir/restore-question.png"
answer_box Return
windows_titled '\*Ostrel' 1 || fail "the restored project is not an edited, untitled one"
[ ! -e "$recovery" ] || fail "the recovery file stayed after the answer"
"$screenshot" "$outdir/restored.png"
ends_on HUP
[ -s "$recovery" ] || fail "no recovery file after SIGHUP"
echo "restored on Yes; SIGHUP: ended, recovery file written again"

# 4. No removes it; a normal quit (SIGTERM with nothing edited) writes none.
start
windows_titled Ostrel 2 || fail "no restore question"
answer_box n
for _ in $(seq 1 50); do [ -e "$recovery" ] || break; sleep 0.1; done
[ ! -e "$recovery" ] || fail "the recovery file stayed after No"
windows_titled Ostrel 1 || fail "no main window after No"
ends_on TERM
[ ! -e "$recovery" ] || fail "a recovery file after quitting an unedited project"
echo "No removed it; an unedited quit left none"
