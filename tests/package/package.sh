#!/usr/bin/env bash
# The Debian package: built with CPack from this build folder, unpacked into
# a scratch root. It must hold the program, the desktop entry, the MIME type,
# the icon in every size, the AppStream metadata and the manual pages, and
# ostrel-cli with its bash completion, and
# nothing of the static libraries or headers; the entry, the metadata and the
# MIME type must validate, the manual pages render without warnings, its
# Depends be computed, and the packaged programs answer --version (the
# version of the newest release in the metadata) and start under Xvfb.
#   package.sh BUILD-FOLDER SOURCE-FOLDER
set -euo pipefail
build=$1
source=$2
root=$(mktemp -d)
cleanup() {
    [ -n "${app:-}" ] && kill -9 "$app" 2>/dev/null || true
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$root"
}
trap cleanup EXIT
fail() { echo "FAILED: $*"; exit 1; }

(cd "$build" && cpack -G DEB -B "$root/out" >"$root/cpack.log" 2>&1) || fail "cpack: $(cat "$root/cpack.log")"
deb=$(find "$root/out" -maxdepth 1 -name 'ostrel_*.deb' | head -n 1)
[ -n "$deb" ] || fail "no .deb: $(cat "$root/cpack.log")"
dpkg-deb -x "$deb" "$root/fs"
info=$(dpkg-deb -I "$deb")
grep -q "^ Section: sound" <<<"$info" || fail "section"
grep -q "^ Depends: .*libqt5widgets5" <<<"$info" || fail "Depends not computed: $info"
grep -q "^ Maintainer: " <<<"$info" || fail "maintainer"

id=org.ostrel.ostrel
share=$root/fs/usr/share
for file in usr/bin/ostrel usr/share/applications/$id.desktop usr/share/mime/packages/$id.xml \
    usr/share/metainfo/$id.metainfo.xml \
    usr/share/man/man1/ostrel.1 usr/share/icons/hicolor/scalable/apps/$id.svg \
    usr/bin/ostrel-cli usr/share/man/man1/ostrel-cli.1 usr/share/bash-completion/completions/ostrel-cli; do
    [ -s "$root/fs/$file" ] || fail "missing $file"
done
for size in 16 22 24 32 48 64 128 256 512; do
    [ -s "$share/icons/hicolor/${size}x${size}/apps/$id.png" ] || fail "missing the $size-pixel icon"
done
contents=$(dpkg-deb -c "$deb")
if grep -qE '\.a$|/include/' <<<"$contents"; then
    fail "static libraries or headers in the package"
fi

desktop-file-validate "$share/applications/$id.desktop" || fail "desktop entry"
xmllint --noout "$share/mime/packages/$id.xml" || fail "MIME type"
metainfo=$share/metainfo/$id.metainfo.xml
report=$(appstreamcli validate --pedantic --no-net "$metainfo" 2>&1) || fail "AppStream metadata: $report"
grep -qE '^[IWEP]: ' <<<"$report" && fail "AppStream metadata: $report"
# Each screenshot named in the metadata is one the screenshot script makes.
for shot in $(grep -o '/screenshots/[a-z-]*\.png' "$metainfo"); do
    [ -s "$source/docs$shot" ] || fail "the metadata names $shot, which docs/screenshots lacks"
done
for page in ostrel ostrel-cli; do
    warnings=$(MANWIDTH=80 man --warnings -l "$share/man/man1/$page.1" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "manual page $page.1: $warnings"
done
bash -n "$share/bash-completion/completions/ostrel-cli" || fail "bash completion"
# The MIME type recognises a project by its header, whatever the name.
update-mime-database "$share/mime" >/dev/null 2>&1 || fail "update-mime-database"
grep -q "application/x-ostrel-project" "$share/mime/globs2" || fail "glob not registered"
grep -q "application/x-ostrel-project" "$share/mime/magic" || fail "magic not registered"

version=$("$root/fs/usr/bin/ostrel" --version)
[[ $version =~ ^ostrel\ [0-9] ]] || fail "--version: $version"
release=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n 1 | cut -d'"' -f2)
[ "$version" = "ostrel $release" ] || fail "--version says '$version', the newest release is $release"
cli_version=$(env -u DISPLAY "$root/fs/usr/bin/ostrel-cli" --version)
[ "$cli_version" = "ostrel-cli $release" ] || fail "ostrel-cli --version says '$cli_version'"
# No display and no MIDI service needed to list the ports (the loopback's).
cli_list=$(env -u DISPLAY JACK_DEFAULT_SERVER=ostrel-package-none "$root/fs/usr/bin/ostrel-cli" list) ||
    fail "ostrel-cli list"
grep -qF "$(printf 'in\tOstrel Loopback 1')" <<<"$cli_list" || fail "ostrel-cli list: $cli_list"
echo "packaged: $(basename "$deb"), $version, $cli_version"

# Started under Xvfb it shows its window, and ends cleanly on SIGTERM.
display=:$((90 + RANDOM % 800))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display XDG_CONFIG_HOME=$root/config XDG_DATA_HOME=$root/data XDG_RUNTIME_DIR=$root
for _ in $(seq 1 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
JACK_DEFAULT_SERVER=ostrel-package-none "$root/fs/usr/bin/ostrel" >"$root/run.log" 2>&1 &
app=$!
timeout 20 xdotool search --sync --onlyvisible --name '^Ostrel$' >/dev/null || fail "no window: $(cat "$root/run.log")"
kill -TERM "$app"
status=0
wait "$app" || status=$?
app=
[ "$status" -eq 0 ] || fail "exit status $status after SIGTERM"
echo "the packaged program started under Xvfb and ended cleanly"
