#!/bin/sh
# The Debian package that `make package` built: its name, version, file list and dependencies.
# Skips (status 77) when no package has been built in this build folder.
set -u
BUILD="$1"; VERSION="$2"; APP_ID="$3"; KIND="$4"
. "$(dirname "$0")/ExpectedFiles.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }

DEB=$(ls "$BUILD"/tesvarin_"$VERSION"_*.deb 2>/dev/null | head -n 1)
if [ -z "$DEB" ]; then
  echo "SKIP: no tesvarin_${VERSION}_*.deb in $BUILD; run 'make package' to build and check it"
  exit 77
fi
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
[ "$(dpkg-deb -f "$DEB" Package)" = tesvarin ] || fail "package name"
[ "$(dpkg-deb -f "$DEB" Version)" = "$VERSION" ] || fail "package version"
dpkg-deb -c "$DEB" | awk '{ print $6 }' | grep -v '/$' | sed 's|^\./usr/||' | LC_ALL=C sort >"$T/found"
expected_files "$KIND" "$APP_ID" >"$T/expected"
diff -u "$T/expected" "$T/found" || fail "packaged files differ from the expected ones"
depends=$(dpkg-deb -f "$DEB" Depends)
echo "Depends: $depends"
# Computed from the binaries, not written by hand.
echo "$depends" | grep -q 'libc6 (>=' || fail "no computed library dependencies"
echo "$depends" | grep -q 'libstdc++6' || fail "no C++ runtime dependency"
if [ "$KIND" = gui ]; then
  echo "$depends" | grep -q 'libqt6widgets6' || fail "no Qt dependency"
  echo "$depends" | grep -q 'fonts-ipafont-gothic' || fail "no Japanese font dependency"
  echo "$depends" | grep -q 'qt6-translations-l10n' || fail "no dependency on Qt's Japanese dialogs"
fi
echo ok
