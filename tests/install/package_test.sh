#!/usr/bin/env bash
# Builds the Debian package with CPack and checks it: everything under /usr, dependencies found
# from the shared libraries, and lintian reporting no errors.
#
#   package_test.sh BUILD_DIR WORK_DIR
set -euo pipefail
build=$1
work=$2
rm -rf "$work"
mkdir -p "$work"

fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log") || { cat "$work/cpack.log"; fail "cpack"; }
packages=("$work"/kestrel-run_*.deb)
deb=${packages[0]}
[ -f "$deb" ] || fail "no package in $work"

while IFS= read -r path; do
  case "$path" in ./usr/*|./) ;; *) fail "packaged outside /usr: $path" ;; esac
done < <(dpkg-deb --fsys-tarfile "$deb" | tar -t)

depends=$(dpkg-deb -f "$deb" Depends)
for library in libsdl2 libjpeg62-turbo libpng16 libc6; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done

# lintian refuses to judge as root only with a warning; errors fail the test, with the list.
lintian --fail-on error --no-tag-display-limit "$deb" >"$work/lintian.log" 2>&1 || {
  cat "$work/lintian.log"
  fail "lintian reports errors"
}
cat "$work/lintian.log"
echo "package $deb: lintian reports no errors"
