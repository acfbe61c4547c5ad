#!/usr/bin/env bash
# Installs the build into a temporary prefix (with a space in it) and uses it from there, as a
# player would: the installed game finds its installed core pack with no KESTREL_DATA_DIR, the
# installed kestrel-pack tests that pack, and the desktop files pass their validators.
#
#   install_test.sh BUILD_DIR WORK_DIR
set -euo pipefail
build=$1
work=$2
rm -rf "$work"
prefix="$work/opt/kestrel run"
home="$work/home"
mkdir -p "$home"

fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >"$work.log" || fail "cmake --install (see $work.log)"

expected=(
  bin/kestrel-run bin/kestrel-pack games/kestrel-run share/kestrel-run/core.bin
  share/applications/kestrel-run.desktop
  share/icons/hicolor/scalable/apps/kestrel-run.svg
  share/man/man6/kestrel-run.6.gz share/man/man1/kestrel-pack.1.gz
  share/doc/kestrel-run/copyright share/doc/kestrel-run/changelog.gz
)
for size in 16 32 48 64 128 256; do expected+=("share/icons/hicolor/${size}x${size}/apps/kestrel-run.png"); done
for file in "${expected[@]}"; do [ -e "$prefix/$file" ] || fail "$file was not installed"; done
metainfo=("$prefix"/share/metainfo/*.metainfo.xml)
[ -f "${metainfo[0]}" ] || fail "no AppStream metadata installed"

# Everything the install wrote is inside the prefix.
while IFS= read -r path; do
  case "$path" in "$prefix"/*) ;; *) fail "installed outside the prefix: $path" ;; esac
done <"$build/install_manifest.txt"

# The installed game, started from elsewhere with a clean environment: the quick start needs the
# core pack's missions, so it only flies when the game found share/kestrel-run by itself.
cd "$work"
printf 'wait 500\ntap 233 265\nwait 2000\nstate\nscreenshot flight.png\n' >flight.script
output=$(env -u KESTREL_DATA_DIR HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
  XDG_DOCUMENTS_DIR="$home/documents" XDG_RUNTIME_DIR="$home" \
  "$prefix/games/kestrel-run" --headless --script flight.script --mission "Island Patrol" 2>&1) ||
  fail "the installed kestrel-run did not fly: $output"
grep -q '"screen":"game"' <<<"$output" || fail "no game screen in: $output"
[ -s flight.png ] || fail "no screenshot from the installed game"

"$prefix/bin/kestrel-pack" test "$prefix/share/kestrel-run/core.bin" >/dev/null ||
  fail "the installed kestrel-pack does not pass the installed core pack"

desktop-file-validate "$prefix/share/applications/kestrel-run.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "${metainfo[0]}" >"$work/appstream.log" || { cat "$work/appstream.log"; fail "appstreamcli validate"; }
grep -q '<launchable type="desktop-id">kestrel-run.desktop</launchable>' "${metainfo[0]}" ||
  fail "the AppStream metadata does not launch the desktop entry"
[ -s "$build/packaging/screenshots/flight.png" ] || fail "the build took no AppStream screenshot"

# The manual pages render without complaint.
for page in "$prefix/share/man/man6/kestrel-run.6.gz" "$prefix/share/man/man1/kestrel-pack.1.gz"; do
  warnings=$(zcat "$page" | groff -man -Tutf8 -ww -z 2>&1) || fail "groff on $page"
  [ -z "$warnings" ] || fail "$page: $warnings"
done
echo "installed into $prefix and ran from there"
